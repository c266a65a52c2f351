#include "platform/window_system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace platform {
namespace {

Session session(bool driverNamed, bool x11, bool wayland) {
  Session s;
  s.driverNamed = driverNamed;
  s.x11 = x11;
  s.wayland = wayland;
  return s;
}

TEST(VideoDriver, TheSessionAloneDecides) {
  // Only Wayland: Wayland, so that SDL does not try X11 first and complain.
  EXPECT_EQ(videoDriverFor(session(false, false, true)), "wayland");
  EXPECT_EQ(videoDriverFor(session(false, true, false)), "x11");
  // Both (Wayland with XWayland): SDL's own order decides, as it always has.
  EXPECT_EQ(videoDriverFor(session(false, true, true)), "");
  // A driver named by SDL_VIDEODRIVER (the tests' dummy) is SDL's to start.
  EXPECT_EQ(videoDriverFor(session(true, false, false)), "");
  EXPECT_EQ(videoDriverFor(session(true, false, true)), "");
}

TEST(VideoDriver, NoGraphicalSessionIsOneLineOfRefusal) {
  try {
    videoDriverFor(session(false, false, false));
    FAIL() << "no refusal";
  } catch (const std::runtime_error& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find("WAYLAND_DISPLAY"), std::string::npos) << message;
    EXPECT_EQ(message.find('\n'), std::string::npos);
  }
}

TEST(VideoDriver, OnlyWaylandShowsChildWindowsInsideTheirParent) {
  EXPECT_TRUE(showsChildrenInsideParent("wayland"));
  for (const char* other : {"x11", "dummy", "offscreen", "KMSDRM", ""}) {
    EXPECT_FALSE(showsChildrenInsideParent(other)) << other;
  }
}

TEST(VideoDriver, OnlyWaylandKeepsClosedWindowsToTheEnd) {
  EXPECT_TRUE(destroysWindowsOnlyAtExit("wayland"));
  for (const char* other : {"x11", "dummy", "offscreen", ""}) {
    EXPECT_FALSE(destroysWindowsOnlyAtExit(other)) << other;
  }
}

TEST(ApplicationId, IsTheDesktopEntrysName) {
  // The desktop pairs a running window with its entry by this name: the entry's file name
  // and its StartupWMClass must say the same as the windows do.
  const std::filesystem::path entry = std::filesystem::path(REEFMAW_SOURCE_DIR) / "desktop" /
                                      (std::string(kApplicationId) + ".desktop.in");
  std::ifstream in(entry);
  ASSERT_TRUE(in.is_open()) << entry;
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("\nStartupWMClass=" + std::string(kApplicationId) + "\n"),
            std::string::npos);
  EXPECT_NE(text.str().find("\nIcon=" + std::string(kApplicationId) + "\n"), std::string::npos);
}

}  // namespace
}  // namespace platform
