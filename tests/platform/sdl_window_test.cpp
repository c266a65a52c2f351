#include "platform/sdl_window.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "platform/picture_scaler.h"
#include "platform/platform.h"
#include "platform/sdl_events.h"

namespace platform {
namespace {

class SdlWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { platform_ = createSdlPlatform(); }

  std::unique_ptr<Window> makeWindow(int width = 800, int height = 600, bool visible = false) {
    WindowDesc desc;
    desc.caption = "Reefmaw";
    desc.width = width;
    desc.height = height;
    desc.visible = visible;
    return platform_->createWindow(desc);
  }

  std::unique_ptr<Platform> platform_;
};

TEST_F(SdlWindowTest, CaptionVisibilityAndIds) {
  auto window = makeWindow();
  auto other = makeWindow();
  EXPECT_NE(window->id(), 0u);
  EXPECT_NE(window->id(), other->id());
  EXPECT_EQ(window->caption(), "Reefmaw");
  window->setCaption("Reefmaw [Pause]");
  EXPECT_EQ(window->caption(), "Reefmaw [Pause]");
  EXPECT_STREQ(SDL_GetWindowTitle(SDL_GetWindowFromID(window->id())), "Reefmaw [Pause]");
  EXPECT_FALSE(window->visible());
  window->show();
  EXPECT_TRUE(window->visible());
  window->hide();
  EXPECT_FALSE(window->visible());
}

TEST_F(SdlWindowTest, AClosedWindowIsHiddenAndKeptWhereWindowsGoOnlyAtExit) {
  WindowDesc desc;
  desc.width = 200;
  desc.height = 100;
  desc.visible = true;
  uint32_t keptId = 0;
  uint32_t destroyedId = 0;
  {
    SdlWindowRegistry keeping(false, true);
    SdlWindowRegistry destroying(false, false);
    auto kept = std::make_unique<SdlWindow>(desc, keeping);
    auto destroyed = std::make_unique<SdlWindow>(desc, destroying);
    keptId = kept->id();
    destroyedId = destroyed->id();
    kept.reset();
    destroyed.reset();
    EXPECT_EQ(SDL_GetWindowFromID(destroyedId), nullptr);
    SDL_Window* parked = SDL_GetWindowFromID(keptId);
    ASSERT_NE(parked, nullptr);
    EXPECT_EQ(SDL_GetWindowFlags(parked) & SDL_WINDOW_SHOWN, 0u);
    // A window of the same kind made after it takes the kept one, without what the closed
    // window left queued, and works as usual.
    SDL_Event stale{};
    stale.type = SDL_WINDOWEVENT;
    stale.window.event = SDL_WINDOWEVENT_CLOSE;
    stale.window.windowID = keptId;
    SDL_PushEvent(&stale);
    desc.caption = "Cheater!";
    auto next = std::make_unique<SdlWindow>(desc, keeping);
    EXPECT_EQ(next->id(), keptId);
    EXPECT_TRUE(next->visible());
    EXPECT_STREQ(SDL_GetWindowTitle(parked), "Cheater!");
    SDL_Event queued[16];
    const int count = SDL_PeepEvents(queued, 16, SDL_PEEKEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT);
    EXPECT_TRUE(std::none_of(queued, queued + std::max(count, 0), [](const SDL_Event& e) {
      return e.window.event == SDL_WINDOWEVENT_CLOSE;
    }));
    const std::vector<uint16_t> pixels(16 * 16);
    EXPECT_TRUE(next->present(pixels.data(), 16, 16, 32, PixelFormat::RGB565,
                              PresentMode::FitKeepAspect, false));
    next.reset();
    // Five hundred boxes, one after another, leave one hidden window, not five hundred; a
    // window of another kind gets its own.
    for (int i = 0; i < 500; ++i) SdlWindow box(desc, keeping);
    EXPECT_EQ(keeping.keptWindows(), 1u);
    desc.bordered = false;
    SdlWindow(desc, keeping);
    EXPECT_EQ(keeping.keptWindows(), 2u);
  }
  // The registry's end takes the kept window with it.
  EXPECT_EQ(SDL_GetWindowFromID(keptId), nullptr);
}

TEST_F(SdlWindowTest, BorderAndFullScreen) {
  auto window = makeWindow();
  SDL_Window* sdl = SDL_GetWindowFromID(window->id());
  window->setBordered(false);
  // The dummy driver of headless runs keeps no border state to look at.
  const bool realDriver = SDL_strcmp(SDL_GetCurrentVideoDriver(), "dummy") != 0;
  if (realDriver) {
    EXPECT_NE(SDL_GetWindowFlags(sdl) & SDL_WINDOW_BORDERLESS, 0u);
  }
  window->setBordered(true);
  EXPECT_EQ(SDL_GetWindowFlags(sdl) & SDL_WINDOW_BORDERLESS, 0u);
  window->show();
  // The way back from full screen: the border is asked for while still full screen.
  window->setBordered(false);
  window->setFullscreen(true);
  EXPECT_TRUE(window->fullscreen());
  window->setBordered(true);
  window->setFullscreen(false);
  EXPECT_FALSE(window->fullscreen());
  EXPECT_EQ(SDL_GetWindowFlags(sdl) & SDL_WINDOW_BORDERLESS, 0u);
}

TEST_F(SdlWindowTest, PlacementComesBackAfterFullScreen) {
  auto window = makeWindow(640, 480, true);
  Placement saved;
  saved.x = 40;
  saved.y = 30;
  saved.width = 700;
  saved.height = 500;
  window->setPlacement(saved);
  const Placement stored = window->placement();
  EXPECT_EQ(stored.width, 700);
  EXPECT_EQ(stored.height, 500);
  window->setFullscreen(true);
  // While covering the screen the placement still names the normal size and position.
  EXPECT_EQ(window->placement().width, 700);
  EXPECT_EQ(window->placement().height, 500);
  Placement other = saved;
  other.width = 520;
  other.height = 390;
  window->setPlacement(other);  // applied when the window leaves full screen
  window->setFullscreen(false);
  const Placement restored = window->placement();
  EXPECT_EQ(restored.width, 520);
  EXPECT_EQ(restored.height, 390);
  EXPECT_FALSE(restored.maximized);
}

TEST_F(SdlWindowTest, ClientSize) {
  auto window = makeWindow(308, 182);
  EXPECT_EQ(window->placement().width, 308);
  window->setClientSize(800, 600);
  EXPECT_EQ(window->placement().width, 800);
  EXPECT_EQ(window->placement().height, 600);
  window->setClientSize(0, -4);  // never an empty window
  EXPECT_GE(window->placement().width, 1);
  EXPECT_GE(window->placement().height, 1);
}

TEST_F(SdlWindowTest, PresentsBothFormatsInEveryMode) {
  auto window = makeWindow(1024, 768, true);
  std::vector<uint16_t> rgb565(800 * 600, 0x07E0);
  std::vector<uint32_t> argb(640 * 480, 0x000000FF);
  for (PresentMode mode : {PresentMode::FitKeepAspect, PresentMode::Center, PresentMode::Stretch}) {
    EXPECT_TRUE(window->present(rgb565.data(), 800, 600, 1600, PixelFormat::RGB565, mode, true));
    EXPECT_TRUE(
        window->present(argb.data(), 640, 480, 640 * 4, PixelFormat::ARGB8888, mode, false));
  }
  // A picture larger than a small window.
  auto small = makeWindow(200, 100, true);
  EXPECT_TRUE(small->present(rgb565.data(), 800, 600, 1600, PixelFormat::RGB565,
                             PresentMode::Center, false));
}

TEST_F(SdlWindowTest, RowsWithPaddingArePresented) {
  auto window = makeWindow(320, 240, true);
  const int pitch = 320 * 2 + 64;
  std::vector<uint8_t> pixels(static_cast<size_t>(pitch) * 240, 0x1F);
  EXPECT_TRUE(window->present(pixels.data(), 320, 240, pitch, PixelFormat::RGB565,
                              PresentMode::FitKeepAspect, false));
}

TEST_F(SdlWindowTest, BadPicturesAreRefusedWithoutReadingThem) {
  auto window = makeWindow();
  std::vector<uint16_t> pixels(16 * 16);
  EXPECT_FALSE(window->present(nullptr, 800, 600, 1600, PixelFormat::RGB565,
                               PresentMode::FitKeepAspect, false));
  EXPECT_FALSE(window->present(pixels.data(), 0, 16, 32, PixelFormat::RGB565,
                               PresentMode::FitKeepAspect, false));
  // A pitch shorter than a row would read past the buffer.
  EXPECT_FALSE(window->present(pixels.data(), 16, 16, 16, PixelFormat::RGB565,
                               PresentMode::FitKeepAspect, false));
  EXPECT_FALSE(window->present(pixels.data(), 8, 8, 16, PixelFormat::ARGB8888,
                               PresentMode::FitKeepAspect, false));
}

// The colour at (x, y) of the window's surface, as 0x00RRGGBB.
uint32_t shownAt(SDL_Surface* surface, int x, int y) {
  const int bytes = surface->format->BytesPerPixel;
  const auto* row = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch;
  uint32_t value = 0;
  std::memcpy(&value, row + x * bytes, static_cast<size_t>(bytes));
  Uint8 r, g, b;
  SDL_GetRGB(value, surface->format, &r, &g, &b);
  return static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 | b;
}

TEST_F(SdlWindowTest, WithoutAGpuTheFittedPictureIsExactAndTheBarsBlack) {
  std::vector<uint16_t> picture(800 * 600);
  for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<uint16_t>(i * 40503u + 7u);
  struct Case {
    int width, height;  // the window
    int x, y, scale;    // where the picture lands, and how many times larger
  };
  for (const Case& c :
       {Case{800, 600, 0, 0, 1}, Case{1600, 1200, 0, 0, 2}, Case{1920, 1080, 240, 0, 0}}) {
    auto window = makeWindow(c.width, c.height, true);
    ASSERT_TRUE(window->present(picture.data(), 800, 600, 1600, PixelFormat::RGB565,
                                PresentMode::FitKeepAspect, false));
    SDL_Surface* surface = SDL_GetWindowSurface(SDL_GetWindowFromID(window->id()));
    ASSERT_NE(surface, nullptr);
    ASSERT_EQ(surface->w, c.width);
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        const int px = x - c.x;
        uint32_t expected = 0;  // a bar
        if (px >= 0 && px < c.width - 2 * c.x) {
          const int sx = c.scale > 0 ? px / c.scale : px * 800 / 1440;
          const int sy = c.scale > 0 ? y / c.scale : y * 600 / 1080;
          expected = rgb565ToXrgb(picture[sy * 800 + sx]);
        }
        ASSERT_EQ(shownAt(surface, x, y), expected)
            << c.width << "x" << c.height << " at " << x << "," << y;
      }
    }
  }
}

TEST_F(SdlWindowTest, FullScreenBothWaysAndALostRenderStateKeepThePictureComing) {
  // Alt+Enter, over and over, with the renderer losing its textures in between: every
  // picture still shows, and what the window made for the old size is freed each time.
  auto window = makeWindow(320, 240, true);
  auto& sdlWindow = dynamic_cast<SdlWindow&>(*window);
  SDL_Window* sdl = SDL_GetWindowFromID(window->id());
  std::vector<uint32_t> picture(320 * 240);
  for (int round = 0; round < 4; ++round) {
    for (bool fullscreen : {true, false}) {
      window->setFullscreen(fullscreen);
      EXPECT_EQ(window->fullscreen(), fullscreen);
      if (round % 2 == 1) sdlWindow.renderReset();
      const uint32_t colour = fullscreen ? 0x00FF0000u : 0x000000FFu + round;
      std::fill(picture.begin(), picture.end(), colour);
      ASSERT_TRUE(window->present(picture.data(), 320, 240, 320 * 4, PixelFormat::ARGB8888,
                                  PresentMode::FitKeepAspect, false));
      SDL_Surface* surface = SDL_GetWindowSurface(sdl);
      ASSERT_NE(surface, nullptr);
      EXPECT_EQ(shownAt(surface, surface->w / 2, surface->h / 2), colour)
          << "round " << round << (fullscreen ? ", full screen" : ", windowed");
    }
  }
}

TEST_F(SdlWindowTest, PresentsThatWaitForTheDisplayComeNoFasterThanItsRefresh) {
  auto window = makeWindow(320, 240, true);
  std::vector<uint16_t> pixels(320 * 240, 0x1234);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 7; ++i) {
    ASSERT_TRUE(window->present(pixels.data(), 320, 240, 640, PixelFormat::RGB565,
                                PresentMode::FitKeepAspect, true));
  }
  // The dummy display gives no refresh rate: 60 Hz, six waits of at least 16 ms.
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(6 * 16));
}

TEST_F(SdlWindowTest, AWindowLargerThanTheScreenIsFittedToIt) {
  auto window = makeWindow(640, 480, true);
  const ScreenArea area = window->workArea();
  ASSERT_GT(area.width, 0);
  window->setClientSize(area.width + 500, area.height + 400);
  Placement p = window->placement();
  EXPECT_LE(p.width, area.width);
  EXPECT_LE(p.height, area.height);
  EXPECT_GE(p.x, area.x);
  EXPECT_LE(p.x + p.width, area.x + area.width);
  Placement off;
  off.x = area.x + area.width - 100;
  off.y = area.y + area.height - 100;
  off.width = 400;
  off.height = 300;
  window->setPlacement(off);
  p = window->placement();
  EXPECT_EQ(p.width, 400);
  EXPECT_LE(p.x + p.width, area.x + area.width);
  EXPECT_LE(p.y + p.height, area.y + area.height);
}

TEST_F(SdlWindowTest, CursorFollowsTheWindowThatWantsIt) {
  auto window = makeWindow(800, 600, true);
  window->setCursorVisible(false);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  window->setCursorVisible(true);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
  window->setCursorVisible(false);
  window.reset();  // a window that goes away gives the pointer back
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

// Windows on a registry that shows children inside their parent, as on Wayland, with an
// event source that routes the parent's pointer and keys.
class ChildInsideTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform_ = createSdlPlatform();
    events_ = std::make_unique<SdlEventSource>(registry_);
    parent_ = make(400, 300, true);
    child_ = make(100, 50, false);
    child_->setParent(parent_.get());
    drain();
  }
  void TearDown() override {
    child_.reset();
    parent_.reset();
    events_.reset();
  }

  std::unique_ptr<SdlWindow> make(int width, int height, bool visible) {
    WindowDesc desc;
    desc.width = width;
    desc.height = height;
    desc.visible = visible;
    return std::make_unique<SdlWindow>(desc, registry_);
  }
  void drain() {
    Event event;
    while (events_->poll(event)) {
    }
  }
  // Fills a window with one colour (0x00RRGGBB).
  static void paint(Window& window, int width, int height, uint32_t color) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, color);
    ASSERT_TRUE(window.present(pixels.data(), width, height, width * 4, PixelFormat::ARGB8888,
                               PresentMode::Center, false));
  }
  uint32_t parentShows(int x, int y) const {
    SDL_Surface* surface = SDL_GetWindowSurface(SDL_GetWindowFromID(parent_->id()));
    return surface != nullptr ? shownAt(surface, x, y) : 0xDEADu;
  }
  Event sendMotion(int x, int y, Uint32 buttons = 0) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = parent_->id();
    e.motion.x = x;
    e.motion.y = y;
    e.motion.state = buttons;
    SDL_PushEvent(&e);
    return next();
  }
  Event sendButton(bool down, int x, int y) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = parent_->id();
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
    return next();
  }
  Event sendKey(SDL_Scancode scancode) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.windowID = parent_->id();
    e.key.state = SDL_PRESSED;
    e.key.keysym.scancode = scancode;
    SDL_PushEvent(&e);
    return next();
  }
  // The next event; SDL may first answer that a pass over its queue has ended.
  Event next() {
    Event event;
    for (int tries = 0; tries < 2; ++tries) {
      if (events_->poll(event)) return event;
    }
    ADD_FAILURE() << "no event";
    return event;
  }

  std::unique_ptr<Platform> platform_;  // starts SDL on its dummy driver
  SdlWindowRegistry registry_{true};
  std::unique_ptr<SdlEventSource> events_;
  std::unique_ptr<SdlWindow> parent_;
  std::unique_ptr<SdlWindow> child_;
};

constexpr uint32_t kGreen = 0x0000FF00;
constexpr uint32_t kRed = 0x00FF0000;

TEST_F(ChildInsideTest, AChildIsDrawnCentredOverItsParentAndGoesAgain) {
  paint(*parent_, 400, 300, kGreen);
  child_->show();
  EXPECT_TRUE(child_->visible());
  // No window of its own appears: a compositor could put that one anywhere, or behind.
  EXPECT_EQ(SDL_GetWindowFlags(SDL_GetWindowFromID(child_->id())) & SDL_WINDOW_SHOWN, 0u);
  paint(*child_, 100, 50, kRed);
  // The child covers x 150..249, y 125..174 of the parent.
  EXPECT_EQ(parentShows(150, 125), kRed);
  EXPECT_EQ(parentShows(249, 174), kRed);
  EXPECT_EQ(parentShows(149, 125), kGreen);
  EXPECT_EQ(parentShows(250, 174), kGreen);
  EXPECT_EQ(parentShows(150, 175), kGreen);
  // The parent's next pictures keep the child over them.
  paint(*parent_, 400, 300, kGreen);
  EXPECT_EQ(parentShows(200, 150), kRed);

  child_->hide();
  EXPECT_FALSE(child_->visible());
  EXPECT_EQ(parentShows(200, 150), kGreen);
}

TEST_F(ChildInsideTest, ThePointerOverTheChildAndEveryKeyGoToIt) {
  paint(*parent_, 400, 300, kGreen);
  child_->show();
  paint(*child_, 100, 50, kRed);
  Event e = sendMotion(160, 130);
  EXPECT_EQ(e.window, child_->id());
  EXPECT_EQ(e.x, 10);
  EXPECT_EQ(e.y, 5);
  e = sendMotion(10, 10);
  EXPECT_EQ(e.window, parent_->id());
  EXPECT_EQ(sendKey(SDL_SCANCODE_RETURN).window, child_->id());

  SDL_Event text{};
  text.type = SDL_TEXTINPUT;
  text.text.windowID = parent_->id();
  std::strcpy(text.text.text, "Акула");
  SDL_PushEvent(&text);
  std::string typed;
  for (int i = 0; i < 5; ++i) {
    e = next();
    EXPECT_EQ(e.kind, EventKind::Char);
    EXPECT_EQ(e.window, child_->id());
    typed += e.text;
  }
  EXPECT_EQ(typed, "Акула");

  // Closed, it gives the keyboard back to the game.
  child_->hide();
  EXPECT_EQ(sendKey(SDL_SCANCODE_ESCAPE).window, parent_->id());
  EXPECT_EQ(sendMotion(160, 130).window, parent_->id());
}

TEST_F(ChildInsideTest, TheWindowAButtonWasPressedInKeepsThePointerUntilItIsUp) {
  paint(*parent_, 400, 300, kGreen);
  child_->show();
  paint(*child_, 100, 50, kRed);
  EXPECT_EQ(sendButton(true, 200, 150).window, child_->id());
  Event e = sendMotion(20, 20, SDL_BUTTON_LMASK);
  EXPECT_EQ(e.window, child_->id());
  e = sendButton(false, 20, 20);
  EXPECT_EQ(e.window, child_->id());
  EXPECT_LT(e.x, 0);  // released beyond the child: on none of its controls
  EXPECT_EQ(sendMotion(20, 20).window, parent_->id());
  // Pressed on the parent and released over the child: the parent's.
  EXPECT_EQ(sendButton(true, 20, 20).window, parent_->id());
  EXPECT_EQ(sendButton(false, 200, 150).window, parent_->id());
}

TEST_F(ChildInsideTest, ThePointerShowsOverTheChildOnly) {
  paint(*parent_, 400, 300, kGreen);
  parent_->setCursorVisible(false);
  child_->show();
  paint(*child_, 100, 50, kRed);
  sendMotion(200, 150);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
  sendMotion(10, 10);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  sendMotion(200, 150);
  child_->hide();
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
}

TEST_F(ChildInsideTest, AChildOfAChildShowsAboveItInTheSameWindow) {
  paint(*parent_, 400, 300, kGreen);
  child_->show();
  paint(*child_, 100, 50, kRed);
  auto box = make(20, 10, false);
  box->setParent(child_.get());
  box->show();
  paint(*box, 20, 10, 0x000000FF);
  EXPECT_EQ(parentShows(200, 150), 0x000000FFu);
  EXPECT_EQ(parentShows(160, 130), kRed);
  EXPECT_EQ(sendKey(SDL_SCANCODE_RETURN).window, box->id());
  box.reset();  // a box that goes away takes its picture with it
  EXPECT_EQ(parentShows(200, 150), kRed);
  EXPECT_EQ(sendKey(SDL_SCANCODE_RETURN).window, child_->id());
}

TEST_F(ChildInsideTest, AParentThatGoesFirstLeavesTheChildHidden) {
  child_->show();
  paint(*child_, 100, 50, kRed);
  parent_.reset();
  EXPECT_FALSE(child_->visible());
  // Shown again without a parent to be shown in, it is a window of its own.
  child_->show();
  EXPECT_NE(SDL_GetWindowFlags(SDL_GetWindowFromID(child_->id())) & SDL_WINDOW_SHOWN, 0u);
}

TEST_F(ChildInsideTest, BeforeItsParentIsShownAChildIsAWindowOfItsOwn) {
  auto hidden = make(400, 300, false);
  child_->setParent(hidden.get());
  child_->show();
  EXPECT_NE(SDL_GetWindowFlags(SDL_GetWindowFromID(child_->id())) & SDL_WINDOW_SHOWN, 0u);
  child_->hide();
}

TEST(ChildWindow, WhereTheSystemStacksWindowsAChildIsAWindowOfItsOwn) {
  auto platform = createSdlPlatform();
  WindowDesc desc;
  desc.visible = true;
  auto parent = platform->createWindow(desc);
  desc.visible = false;
  auto child = platform->createWindow(desc);
  child->setParent(parent.get());
  child->show();
  EXPECT_NE(SDL_GetWindowFlags(SDL_GetWindowFromID(child->id())) & SDL_WINDOW_SHOWN, 0u);
}

}  // namespace
}  // namespace platform
