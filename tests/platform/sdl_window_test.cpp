#include "platform/sdl_window.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/platform.h"

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

}  // namespace
}  // namespace platform
