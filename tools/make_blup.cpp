// Synthesizes the game's stored wave "snd": a short underwater "blup", three bubbles
// whose pitch rises as they close, in PCM mono 11025 Hz 16 bits with the game's
// 20-byte format block. Only exact arithmetic (no library sine or exponential) goes
// into the samples, so every machine writes the same bytes.
//
//   make_blup <output.wav>     (the game keeps its output as resources/snd.wav)

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

#include "engine/sound/wave.h"
#include "framework/stream.h"

namespace {

constexpr int kRate = 11025;
constexpr int kSampleCount = 12038;  // 24076 bytes, about 1.09 seconds
constexpr double kPi = 3.14159265358979323846;

// sin(x) for any x: reduced to [-pi, pi], then a Taylor series that is exact to well
// below one 16-bit step.
double sine(double x) {
  const double turns = x / (2 * kPi);
  const double whole = static_cast<double>(static_cast<int64_t>(turns + (turns >= 0 ? 0.5 : -0.5)));
  x -= whole * 2 * kPi;
  const double x2 = x * x;
  double term = x;
  double sum = x;
  for (int n = 1; n < 12; ++n) {
    term *= -x2 / ((2 * n) * (2 * n + 1));
    sum += term;
  }
  return sum;
}

// One bubble: a sine whose pitch glides up from `from` to `to` Hz while it fades.
struct Bubble {
  int start;     // first sample
  double from;   // Hz
  double to;     // Hz
  double glide;  // samples over which the pitch rises
  double level;  // peak amplitude, 0..1
  double decay;  // amplitude kept per sample
};

void addBubble(std::vector<double>& mix, const Bubble& b) {
  double phase = 0;
  double amplitude = b.level;
  constexpr int kAttack = 40;  // a few milliseconds, so the bubble starts without a click
  for (int i = b.start; i < static_cast<int>(mix.size()); ++i) {
    const int t = i - b.start;
    const double progress = t < b.glide ? t / b.glide : 1.0;
    // Eased glide: quick at first, settling at the top like a closing bubble.
    const double ease = 1 - (1 - progress) * (1 - progress);
    const double hz = b.from + (b.to - b.from) * ease;
    phase += 2 * kPi * hz / kRate;
    const double attack = t < kAttack ? static_cast<double>(t) / kAttack : 1.0;
    // A touch of the second harmonic makes it rounder than a bare sine.
    mix[static_cast<size_t>(i)] += amplitude * attack * (sine(phase) + 0.18 * sine(2 * phase));
    amplitude *= b.decay;
  }
}

std::vector<uint8_t> formatBlock() {
  const uint8_t block[20] = {
      1,    0,           // PCM
      1,    0,           // mono
      0x11, 0x2B, 0, 0,  // 11025 samples per second
      0x22, 0x56, 0, 0,  // 22050 bytes per second
      2,    0,           // block alignment
      16,   0,           // bits per sample
      24,   0,           // extra-size field, as the stored wave has always carried it
      0,    0,
  };
  return std::vector<uint8_t>(block, block + sizeof block);
}

TWave makeBlup() {
  std::vector<double> mix(kSampleCount, 0.0);
  addBubble(mix, Bubble{0, 190, 620, 1500, 0.62, 0.99955});
  addBubble(mix, Bubble{2400, 320, 900, 1000, 0.30, 0.99935});
  addBubble(mix, Bubble{4700, 460, 1150, 800, 0.14, 0.9992});

  TWave wave;
  const std::vector<uint8_t> format = formatBlock();
  wave.SetFormatSize(static_cast<int32_t>(format.size()));
  for (size_t i = 0; i < format.size(); ++i) wave.FormatData()[i] = format[i];
  wave.SetWaveSize(kSampleCount * 2);
  constexpr int kFadeOut = 600;
  for (int i = 0; i < kSampleCount; ++i) {
    double v = mix[static_cast<size_t>(i)];
    const int left = kSampleCount - 1 - i;
    if (left < kFadeOut) v *= static_cast<double>(left) / kFadeOut;
    v = v > 1 ? 1 : (v < -1 ? -1 : v);
    const double scaled = v * 32767;
    const auto s = static_cast<int16_t>(scaled >= 0 ? scaled + 0.5 : scaled - 0.5);
    const auto u = static_cast<uint16_t>(s);
    wave.WaveData()[2 * i] = static_cast<uint8_t>(u & 0xFF);
    wave.WaveData()[2 * i + 1] = static_cast<uint8_t>(u >> 8);
  }
  return wave;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_blup <output.wav>\n");
    return 2;
  }
  try {
    TMemoryStream image;
    makeBlup().SaveRiff(image);
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.Memory()),
              static_cast<std::streamsize>(image.Bytes().size()));
    out.close();
    if (!out) {
      std::fprintf(stderr, "make_blup: cannot write %s\n", argv[1]);
      return 1;
    }
    std::printf("%s: %zu bytes\n", argv[1], image.Bytes().size());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_blup: %s\n", e.what());
    return 1;
  }
  return 0;
}
