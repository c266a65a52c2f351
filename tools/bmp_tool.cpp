// Reads a picture the way the game does and prints its width, height, bit count and
// compression; with a second name, writes its pixels back as a 24-bit BMP file. It is
// how art is checked and how our readers are compared with other decoders.
//
//   bmp_tool [--dib] <input.bmp|input.dib> [<output.bmp>]
//
// .bmp files go through the framework's bitmap reader (as the game's Data pictures do),
// .dib files and --dib through the device-independent bitmap reader (as the pictures
// stored in the window description do).

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/graphics/dib.h"
#include "framework/bit_field_channel.h"
#include "framework/bitmap.h"
#include "framework/exceptions.h"

namespace {

const char* compressionName(uint32_t compression) {
  switch (compression) {
    case 0:
      return "none";
    case 1:
      return "RLE8";
    case 2:
      return "RLE4";
    case 3:
      return "bit fields";
    case 6:
      return "bit fields with alpha";
    default:
      return "unknown";
  }
}

// The picture's pixels as 0x00RRGGBB, top row first. The bitmap reader widens 16-bit
// channels itself; a 16-bit device-independent bitmap gives each channel's top bits with
// zeros below (31 becomes 248), so here each 5- or 6-bit channel is widened by repeating
// its top bits and full intensity stays 255.
std::vector<uint32_t> rgbPixels(const TGraphic& graphic) {
  std::vector<uint32_t> pixels;
  const auto* dib = dynamic_cast<const TDIB*>(&graphic);
  if (dib == nullptr || dib->BitCount() != 16) {
    graphic.ToRGB32(pixels);
    return pixels;
  }
  const TDIBPixelFormat& format = dib->PixelFormat();
  const BitFieldChannel red(format.RBitMask), green(format.GBitMask), blue(format.BBitMask);
  pixels.reserve(static_cast<size_t>(dib->Width()) * static_cast<size_t>(dib->Height()));
  for (int y = 0; y < dib->Height(); ++y) {
    for (int x = 0; x < dib->Width(); ++x) {
      const uint32_t v = dib->Pixel(x, y);
      pixels.push_back((uint32_t{red.expand(v)} << 16) | (uint32_t{green.expand(v)} << 8) |
                       blue.expand(v));
    }
  }
  return pixels;
}

int usage() {
  std::fprintf(stderr, "usage: bmp_tool [--dib] <input.bmp|input.dib> [<output.bmp>]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  bool forceDib = false;
  if (!args.empty() && args[0] == "--dib") {
    forceDib = true;
    args.erase(args.begin());
  }
  if (args.empty() || args.size() > 2) return usage();
  try {
    int bitCount = 0;
    uint32_t compression = 0;
    std::unique_ptr<TGraphic> graphic;
    if (forceDib) {
      auto dib = std::make_unique<TDIB>();
      dib->LoadFromFile(args[0]);
      graphic = std::move(dib);
    } else {
      TPicture picture({BitmapGraphicFormat(), DIBGraphicFormat()});
      picture.LoadFromFile(args[0]);
      if (picture.Graphic() != nullptr) graphic = picture.Graphic()->Clone();
    }
    if (const auto* dib = dynamic_cast<const TDIB*>(graphic.get())) {
      bitCount = dib->BitCount();
      compression = dib->Compression();
    } else if (const auto* bitmap = dynamic_cast<const TBitmap*>(graphic.get())) {
      bitCount = bitmap->BitCount();
      compression = bitmap->Compression();
    }
    if (graphic == nullptr || graphic->Empty()) {
      std::printf("empty picture\n");
      return 0;
    }
    std::printf("width:        %d\n", graphic->Width());
    std::printf("height:       %d\n", graphic->Height());
    std::printf("bit count:    %d\n", bitCount);
    std::printf("compression:  %u (%s)\n", compression, compressionName(compression));
    if (args.size() == 2) {
      const std::vector<uint32_t> pixels = rgbPixels(*graphic);
      TBitmap out;
      out.SetSize(graphic->Width(), graphic->Height());
      for (int y = 0; y < out.Height(); ++y) {
        for (int x = 0; x < out.Width(); ++x) {
          out.SetPixel(x, y,
                       pixels[static_cast<size_t>(y) * static_cast<size_t>(out.Width()) +
                              static_cast<size_t>(x)]);
        }
      }
      out.SaveToFile(args[1]);
      std::printf("written:      %s (24 bits)\n", args[1].c_str());
    }
  } catch (const Exception& e) {
    std::fprintf(stderr, "bmp_tool: %s\n", e.Message().c_str());
    return 1;
  }
  return 0;
}
