#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/audio_system.h"

using platform::AudioFormat;
using platform::AudioRegion;

namespace {

const AudioFormat kSnd{1, 1, 11025, 16};

bool fill(platform::AudioBuffer& buffer, uint8_t seed) {
  AudioRegion first;
  AudioRegion second;
  if (!buffer.lock(0, buffer.size(), first, second)) return false;
  for (uint32_t i = 0; i < first.size; ++i) first.data[i] = static_cast<uint8_t>(seed + i);
  return buffer.unlock();
}

}  // namespace

TEST(SdlAudio, TheDeviceOpensPausedAndFollowsItsFirstBuffersFormat) {
  auto audio = platform::createSdlAudioSystem();
  auto device = audio->openDevice();
  ASSERT_NE(device, nullptr);  // the dummy driver stands in for a sound card
  EXPECT_TRUE(device->paused());
  EXPECT_TRUE(device->setCooperativeLevel(1, platform::AudioCooperation::Normal));
  auto primary = device->createPrimaryBuffer();
  ASSERT_NE(primary, nullptr);
  EXPECT_EQ(primary->size(), 0u);

  auto buffer = device->createBuffer(kSnd, 200);
  ASSERT_NE(buffer, nullptr);
  EXPECT_EQ(device->format(), kSnd);
  EXPECT_TRUE(device->paused());
  ASSERT_TRUE(fill(*buffer, 3));
  // Same format: held exactly as given.
  ASSERT_EQ(buffer->deviceSamples().size(), 200u);
  EXPECT_EQ(buffer->deviceSamples()[10], 13);
  EXPECT_FALSE(buffer->playing());

  // A later buffer in another format is converted; the device keeps its format.
  auto other = device->createBuffer(AudioFormat{1, 2, 22050, 8}, 400);
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(device->format(), kSnd);
  ASSERT_TRUE(fill(*other, 0));
  EXPECT_FALSE(other->deviceSamples().empty());
  EXPECT_EQ(other->deviceSamples().size() % 2, 0u);

  // A device opened in the samples' format has it from the start; one asked for a format
  // no device plays opens in the usual one.
  buffer.reset();
  other.reset();
  primary.reset();
  device.reset();
  device = audio->openDeviceIn(kSnd);
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(device->format(), kSnd);
  device.reset();
  device = audio->openDeviceIn(AudioFormat{1, 1, 11025, 24});
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(device->format().bitsPerSample, 16);
}

TEST(SdlAudio, UnplayableFormatsAreRefused) {
  auto audio = platform::createSdlAudioSystem();
  auto device = audio->openDevice();
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(device->createBuffer(AudioFormat{1, 1, 11025, 24}, 300), nullptr);
  EXPECT_EQ(device->createBuffer(AudioFormat{2, 1, 11025, 4}, 300), nullptr);  // ADPCM
  EXPECT_EQ(device->createBuffer(AudioFormat{1, 0, 11025, 16}, 300), nullptr);
  EXPECT_EQ(device->createBuffer(kSnd, 0), nullptr);
}

TEST(SdlAudio, NoDriverMeansNoDeviceWithoutAnError) {
  if (SDL_WasInit(SDL_INIT_AUDIO) != 0) GTEST_SKIP() << "audio already started in this process";
  const char* old = std::getenv("SDL_AUDIODRIVER");
  const std::string saved = old != nullptr ? old : "";
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  auto audio = platform::createSdlAudioSystem();
  EXPECT_EQ(audio->openDevice(), nullptr);
  if (old != nullptr) {
    setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
  } else {
    unsetenv("SDL_AUDIODRIVER");
  }
}
