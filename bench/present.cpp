// What presenting one 800 x 600 5-6-5 frame costs on the path a machine without a GPU
// takes: SDL's software renderer, where the presenter converts and scales the frame
// itself. The frame goes 1:1 into an 800 x 600 window and fitted (aspect kept, black
// bars) into 1024 x 768 and 1920 x 1080 windows. Each figure is a ratio against copying
// the same frame in memory once, measured in the same run, so machines of different
// speed give comparable numbers. Runs on the dummy video driver when no display is there.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "platform/platform.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kBatches = 15;

// Seconds per call of the fastest of several batches: the other batches lost time to
// whatever else ran on the machine.
double fastestSecondsPer(int calls, const std::function<void(int)>& run) {
  double best = 1e9;
  for (int batch = 0; batch < kBatches; ++batch) {
    const auto start = Clock::now();
    for (int i = 0; i < calls; ++i) run(batch * calls + i);
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count() / calls);
  }
  return best;
}

}  // namespace

int main() {
  if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
  }
  // The path without a GPU, whatever this machine has.
  setenv("SDL_RENDER_DRIVER", "software", 1);
  auto platform = platform::createSdlPlatform();

  std::vector<uint16_t> frame(kWidth * kHeight);
  for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint16_t>(i * 2654435761u >> 16);
  std::vector<uint16_t> copy(frame.size());

  // Reference: one plain copy of the frame.
  const double copySeconds = fastestSecondsPer(200, [&](int i) {
    frame[static_cast<size_t>(i) % frame.size()] = static_cast<uint16_t>(i);  // no merged copies
    std::memcpy(copy.data(), frame.data(), frame.size() * sizeof(uint16_t));
  });
  volatile uint16_t sink = copy[7];
  (void)sink;

  struct Case {
    const char* name;
    int width;
    int height;
  };
  for (const Case& c : {Case{"800x600 1:1", 800, 600}, Case{"1024x768 fitted", 1024, 768},
                        Case{"1920x1080 fitted", 1920, 1080}}) {
    platform::WindowDesc desc;
    desc.caption = "bench_present";
    desc.width = c.width;
    desc.height = c.height;
    desc.visible = true;
    auto window = platform->createWindow(desc);
    int failures = 0;
    const double presentSeconds = fastestSecondsPer(30, [&](int) {
      platform::Event event;
      while (platform->events().poll(event)) {
      }
      if (!window->present(frame.data(), kWidth, kHeight, kWidth * 2, platform::PixelFormat::RGB565,
                           platform::PresentMode::FitKeepAspect, false)) {
        ++failures;
      }
    });
    std::printf("software present 800x600 RGB565 into %-17s: %7.3f ms, %6.1f x a frame copy%s\n",
                c.name, presentSeconds * 1000, presentSeconds / copySeconds,
                failures > 0 ? " (some presents failed)" : "");
  }
  std::printf("reference frame copy (800x600x2 bytes): %.4f ms\n", copySeconds * 1000);
  return 0;
}
