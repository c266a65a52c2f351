#include "platform/sdl_events.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>
#include <vector>

#include "platform/platform.h"

namespace platform {
namespace {

class SdlEventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform_ = createSdlPlatform();
    drain();
  }

  // Empties the queue of whatever creating windows produced.
  void drain() {
    Event event;
    while (platform_->events().poll(event)) {
    }
  }

  std::vector<Event> pollAll() {
    std::vector<Event> events;
    Event event;
    while (platform_->events().poll(event)) events.push_back(event);
    return events;
  }

  void pushKey(Uint32 type, uint32_t window, SDL_Scancode scancode, Uint16 mod) {
    SDL_Event e{};
    e.type = type;
    e.key.windowID = window;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = scancode;
    e.key.keysym.mod = mod;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
  }

  void pushMotion(uint32_t window, int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = window;
    e.motion.x = x;
    e.motion.y = y;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
  }

  void pushButton(Uint32 type, uint32_t window, Uint8 button, int x, int y) {
    SDL_Event e{};
    e.type = type;
    e.button.windowID = window;
    e.button.button = button;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = x;
    e.button.y = y;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
  }

  void pushWindowEvent(uint32_t window, SDL_WindowEventID id) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = window;
    e.window.event = id;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
  }

  std::unique_ptr<Platform> platform_;
};

TEST_F(SdlEventsTest, KeysComeAsVirtualKeyCodesWithModifiers) {
  pushKey(SDL_KEYDOWN, 7, SDL_SCANCODE_RETURN, KMOD_LALT);
  pushKey(SDL_KEYDOWN, 7, SDL_SCANCODE_ESCAPE, KMOD_NONE);
  pushKey(SDL_KEYDOWN, 7, SDL_SCANCODE_KP_8, KMOD_NUM);
  pushKey(SDL_KEYUP, 7, SDL_SCANCODE_H, KMOD_RSHIFT | KMOD_LCTRL);
  pushKey(SDL_KEYDOWN, 7, SDL_SCANCODE_UNKNOWN, KMOD_NONE);  // no code: dropped
  const std::vector<Event> events = pollAll();
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].kind, EventKind::KeyDown);
  EXPECT_EQ(events[0].window, 7u);
  EXPECT_EQ(events[0].key, 13);
  EXPECT_EQ(events[0].shift, ssAlt);
  EXPECT_EQ(events[1].key, 27);
  EXPECT_EQ(events[1].shift, 0u);
  EXPECT_EQ(events[2].key, 104);
  EXPECT_EQ(events[2].shift, 0u);
  EXPECT_EQ(events[3].kind, EventKind::KeyUp);
  EXPECT_EQ(events[3].key, 'H');
  EXPECT_EQ(events[3].shift, ssShift | ssCtrl);
}

TEST_F(SdlEventsTest, TypedTextComesOneCharacterPerEvent) {
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  e.text.windowID = 3;
  SDL_strlcpy(e.text.text, "Жa", sizeof(e.text.text));
  ASSERT_EQ(SDL_PushEvent(&e), 1);
  const std::vector<Event> events = pollAll();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, EventKind::Char);
  EXPECT_EQ(events[0].window, 3u);
  EXPECT_EQ(events[0].text, "Ж");
  EXPECT_EQ(events[1].text, "a");
}

TEST_F(SdlEventsTest, PointerMapsThroughThePresentedPicture) {
  WindowDesc desc;
  desc.width = 1600;
  desc.height = 900;
  auto window = platform_->createWindow(desc);
  drain();
  // An 800 x 600 picture fitted into 1600 x 900: 1200 x 900 at x 200, 1.5 per pixel.
  std::vector<uint16_t> pixels(800 * 600, 0xF800);
  ASSERT_TRUE(window->present(pixels.data(), 800, 600, 1600, PixelFormat::RGB565,
                              PresentMode::FitKeepAspect, false));
  const uint32_t id = window->id();
  pushMotion(id, 200 + 600, 450);
  pushMotion(id, 50, 450);    // on the left bar
  pushMotion(id, 1550, 899);  // on the right bar, bottom row
  pushButton(SDL_MOUSEBUTTONDOWN, id, SDL_BUTTON_RIGHT, 200 + 750, 75);
  pushButton(SDL_MOUSEBUTTONUP, id, SDL_BUTTON_RIGHT, 200 + 750, 75);
  pushButton(SDL_MOUSEBUTTONDOWN, id, SDL_BUTTON_X1, 10, 10);  // no such button: dropped
  const std::vector<Event> events = pollAll();
  ASSERT_EQ(events.size(), 5u);
  EXPECT_EQ(events[0].kind, EventKind::MouseMove);
  EXPECT_EQ(events[0].window, id);
  EXPECT_EQ(events[0].x, 400);
  EXPECT_EQ(events[0].y, 300);
  EXPECT_EQ(events[1].x, 0);
  EXPECT_EQ(events[1].y, 300);
  EXPECT_EQ(events[2].x, 799);
  EXPECT_EQ(events[2].y, 599);
  EXPECT_EQ(events[3].kind, EventKind::MouseDown);
  EXPECT_EQ(events[3].button, MouseButton::Right);
  EXPECT_EQ(events[3].x, 500);
  EXPECT_EQ(events[3].y, 50);
  EXPECT_EQ(events[3].shift & ssRight, ssRight);
  EXPECT_EQ(events[4].kind, EventKind::MouseUp);
  EXPECT_EQ(events[4].shift & ssRight, 0u);
}

TEST_F(SdlEventsTest, SetLogicalSizeMapsBeforeAnythingIsPresented) {
  WindowDesc desc;
  desc.width = 400;
  desc.height = 300;
  auto window = platform_->createWindow(desc);
  drain();
  pushMotion(window->id(), 100, 100);
  window->setLogicalSize(800, 600, PresentMode::Stretch);
  Event event;
  // The mapping in force when the event is taken counts.
  ASSERT_TRUE(platform_->events().poll(event));
  EXPECT_EQ(event.x, 200);
  EXPECT_EQ(event.y, 200);
}

TEST_F(SdlEventsTest, WindowEvents) {
  pushWindowEvent(5, SDL_WINDOWEVENT_CLOSE);
  pushWindowEvent(5, SDL_WINDOWEVENT_FOCUS_GAINED);
  pushWindowEvent(5, SDL_WINDOWEVENT_FOCUS_LOST);
  pushWindowEvent(5, SDL_WINDOWEVENT_EXPOSED);
  pushWindowEvent(5, SDL_WINDOWEVENT_MOVED);  // nothing for the framework
  const std::vector<Event> events = pollAll();
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].kind, EventKind::Close);
  EXPECT_EQ(events[0].window, 5u);
  EXPECT_EQ(events[1].kind, EventKind::FocusGained);
  EXPECT_EQ(events[2].kind, EventKind::FocusLost);
  EXPECT_EQ(events[3].kind, EventKind::Expose);
}

TEST_F(SdlEventsTest, RenderResetReachesEveryWindow) {
  auto first = platform_->createWindow(WindowDesc{});
  auto second = platform_->createWindow(WindowDesc{});
  drain();
  SDL_Event e{};
  e.type = SDL_RENDER_DEVICE_RESET;
  ASSERT_EQ(SDL_PushEvent(&e), 1);
  std::vector<Event> events = pollAll();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, EventKind::RenderReset);
  EXPECT_EQ(events[1].kind, EventKind::RenderReset);
  EXPECT_NE(events[0].window, events[1].window);
  // The lost texture is made again: presenting goes on working.
  std::vector<uint32_t> pixels(800 * 600, 0x00FF00);
  EXPECT_TRUE(first->present(pixels.data(), 800, 600, 3200, PixelFormat::ARGB8888,
                             PresentMode::FitKeepAspect, true));
}

TEST_F(SdlEventsTest, QuitIsACloseRequestForTheProgram) {
  SDL_Event e{};
  e.type = SDL_QUIT;
  ASSERT_EQ(SDL_PushEvent(&e), 1);
  Event event;
  ASSERT_TRUE(platform_->events().poll(event));
  EXPECT_EQ(event.kind, EventKind::Close);
  EXPECT_EQ(event.window, 0u);
}

TEST_F(SdlEventsTest, SigtermBecomesACloseRequestAndEndsAWait) {
  std::raise(SIGTERM);
  // A wait with no limit must return at once: the loop has to see the request.
  const auto start = std::chrono::steady_clock::now();
  platform_->events().wait(-1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  Event event;
  ASSERT_TRUE(platform_->events().poll(event));
  EXPECT_EQ(event.kind, EventKind::Close);
  EXPECT_EQ(event.window, 0u);
  EXPECT_FALSE(platform_->events().poll(event));  // one request, one event
}

TEST_F(SdlEventsTest, SignalDuringAWaitIsSeenWithinASecond) {
  std::thread sender([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    std::raise(SIGINT);
  });
  const auto start = std::chrono::steady_clock::now();
  platform_->events().wait(-1);
  const auto waited = std::chrono::steady_clock::now() - start;
  sender.join();
  EXPECT_LT(waited, std::chrono::seconds(1));
  Event event;
  ASSERT_TRUE(platform_->events().poll(event));
  EXPECT_EQ(event.kind, EventKind::Close);
  EXPECT_EQ(event.window, 0u);
}

TEST_F(SdlEventsTest, WaitReturnsAfterItsTimeout) {
  const auto start = std::chrono::steady_clock::now();
  platform_->events().wait(30);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(25));
  EXPECT_LT(waited, std::chrono::seconds(2));
}

TEST_F(SdlEventsTest, WaitReturnsAtOnceWhenAnEventIsQueued) {
  pushWindowEvent(1, SDL_WINDOWEVENT_EXPOSED);
  const auto start = std::chrono::steady_clock::now();
  platform_->events().wait(-1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(SdlEventsDeathTest, ASecondSignalEndsAProgramThatDidNotClose) {
  EXPECT_EXIT(
      {
        auto platform = createSdlPlatform();
        std::raise(SIGTERM);
        std::raise(SIGTERM);
        std::exit(0);
      },
      ::testing::KilledBySignal(SIGTERM), "");
}

TEST(SdlEventsDeathTest, SignalHandlersGoAwayWithThePlatform) {
  EXPECT_EXIT(
      {
        createSdlPlatform().reset();
        std::raise(SIGINT);
        std::exit(0);
      },
      ::testing::KilledBySignal(SIGINT), "");
}

}  // namespace
}  // namespace platform
