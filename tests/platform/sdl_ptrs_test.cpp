#include "platform/sdl_ptrs.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <utility>

namespace platform {
namespace {

class SdlAudioDeviceHandleTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError(); }
  void TearDown() override { SDL_QuitSubSystem(SDL_INIT_AUDIO); }

  static SdlAudioDeviceHandle open() {
    SDL_AudioSpec wanted{};
    wanted.freq = 22050;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = 512;
    SDL_AudioSpec obtained{};
    return SdlAudioDeviceHandle(
        SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_ANY_CHANGE));
  }
  // SDL reports a device it does not know (any more) as stopped; an open one is paused.
  static bool isOpen(SDL_AudioDeviceID id) {
    return SDL_GetAudioDeviceStatus(id) == SDL_AUDIO_PAUSED;
  }
};

// The dummy driver, like some real ones, lets one device be open at a time.
TEST_F(SdlAudioDeviceHandleTest, EachDeviceIsClosedOnceByWhoeverHoldsItLast) {
  SdlAudioDeviceHandle first = open();
  ASSERT_TRUE(first);  // the dummy driver stands in for a sound card
  const SDL_AudioDeviceID firstId = first.get();
  SdlAudioDeviceHandle moved(std::move(first));
  EXPECT_FALSE(first);  // NOLINT(bugprone-use-after-move): the source is left empty
  EXPECT_TRUE(isOpen(firstId));
  // Taking what another holds (here nothing) closes the device held before.
  SdlAudioDeviceHandle empty;
  moved = std::move(empty);
  EXPECT_FALSE(moved);
  EXPECT_FALSE(isOpen(firstId));

  SDL_AudioDeviceID secondId = 0;
  {
    SdlAudioDeviceHandle second = open();
    ASSERT_TRUE(second);
    secondId = second.get();
    auto& same = second;
    second = std::move(same);  // taking itself keeps it open
    EXPECT_TRUE(isOpen(secondId));
  }
  EXPECT_FALSE(isOpen(secondId));

  SdlAudioDeviceHandle released = open();
  ASSERT_TRUE(released);
  const SDL_AudioDeviceID id = released.release();
  released.reset();
  EXPECT_TRUE(isOpen(id));  // given away, not closed
  SDL_CloseAudioDevice(id);
}

}  // namespace
}  // namespace platform
