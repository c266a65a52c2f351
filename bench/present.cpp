// What presenting one 800 x 600 frame costs, the game's per-frame hand-over to the
// screen. The figure is a ratio against copying the same frame in memory once, measured
// in the same run, so machines of different speed give comparable numbers. Runs on the
// dummy video driver when no display is there.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/platform.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsPer(int count, Clock::duration total) {
  return std::chrono::duration<double>(total).count() / count;
}

}  // namespace

int main() {
  if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
  }
  auto platform = platform::createSdlPlatform();
  platform::WindowDesc desc;
  desc.caption = "bench_present";
  desc.width = 1024;
  desc.height = 768;
  desc.visible = true;
  auto window = platform->createWindow(desc);

  constexpr int kWidth = 800;
  constexpr int kHeight = 600;
  constexpr int kFrames = 300;
  std::vector<uint16_t> frame(kWidth * kHeight);
  for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint16_t>(i * 2654435761u >> 16);
  std::vector<uint16_t> copy(frame.size());

  // Reference: one plain copy of the frame.
  const auto copyStart = Clock::now();
  for (int i = 0; i < kFrames; ++i) {
    frame[i] = static_cast<uint16_t>(i);  // keeps the copies from being merged away
    std::memcpy(copy.data(), frame.data(), frame.size() * sizeof(uint16_t));
  }
  const double copySeconds = secondsPer(kFrames, Clock::now() - copyStart);
  volatile uint16_t sink = copy[kFrames - 1];
  (void)sink;

  for (auto mode : {platform::PresentMode::FitKeepAspect, platform::PresentMode::Center,
                    platform::PresentMode::Stretch}) {
    const char* name = mode == platform::PresentMode::FitKeepAspect ? "fit"
                       : mode == platform::PresentMode::Center      ? "center"
                                                                    : "stretch";
    int failures = 0;
    const auto start = Clock::now();
    for (int i = 0; i < kFrames; ++i) {
      platform::Event event;
      while (platform->events().poll(event)) {
      }
      if (!window->present(frame.data(), kWidth, kHeight, kWidth * 2, platform::PixelFormat::RGB565,
                           mode, false)) {
        ++failures;
      }
    }
    const double presentSeconds = secondsPer(kFrames, Clock::now() - start);
    std::printf("present 800x600 RGB565 %-7s: %8.3f ms per frame, %6.1f x a frame copy%s\n", name,
                presentSeconds * 1000, presentSeconds / copySeconds,
                failures > 0 ? " (some presents failed)" : "");
  }
  std::printf("reference frame copy: %.3f ms\n", copySeconds * 1000);
  return 0;
}
