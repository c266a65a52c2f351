// Reads a RIFF WAVE file through TWave and prints its format fields and sample-byte
// count; with a second name, writes the wave back through SaveRiff.
//
//   wave_tool <input.wav> [<output.wav>]

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "engine/sound/wave.h"
#include "framework/stream.h"

namespace {

unsigned field(const TWave& wave, int offset, int bytes) {
  unsigned value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | wave.FormatData()[offset + i];
  return value;
}

void printFormat(const TWave& wave) {
  std::printf("format bytes:      %d\n", wave.FormatSize());
  if (wave.FormatSize() >= 16) {
    std::printf("format tag:        %u\n", field(wave, 0, 2));
    std::printf("channels:          %u\n", field(wave, 2, 2));
    std::printf("samples per sec:   %u\n", field(wave, 4, 4));
    std::printf("bytes per sec:     %u\n", field(wave, 8, 4));
    std::printf("block alignment:   %u\n", field(wave, 12, 2));
    std::printf("bits per sample:   %u\n", field(wave, 14, 2));
  }
  if (wave.FormatSize() >= 18) std::printf("extra size field:  %u\n", field(wave, 16, 2));
  std::printf("sample bytes:      %d\n", wave.WaveSize());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: wave_tool <input.wav> [<output.wav>]\n");
    return 2;
  }
  try {
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "wave_tool: cannot open %s\n", argv[1]);
      return 1;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    TWave wave;
    TReadOnlyMemoryStream stream(bytes.data(), static_cast<int64_t>(bytes.size()));
    wave.LoadRiff(stream);
    printFormat(wave);
    if (argc == 3) {
      TMemoryStream image;
      wave.SaveRiff(image);
      std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(image.Memory()),
                static_cast<std::streamsize>(image.Bytes().size()));
      out.close();
      if (!out) {
        std::fprintf(stderr, "wave_tool: cannot write %s\n", argv[2]);
        return 1;
      }
      std::printf("written:           %s (%zu bytes)\n", argv[2], image.Bytes().size());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "wave_tool: %s: %s\n", argv[1], e.what());
    return 1;
  }
  return 0;
}
