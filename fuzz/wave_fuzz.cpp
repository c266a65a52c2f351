// Feeds arbitrary bytes to TWave::LoadRiff. A wave that loads must write an image that
// loads back to the same format block and samples.

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "engine/sound/wave.h"
#include "framework/exceptions.h"
#include "framework/stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TWave wave;
  try {
    TReadOnlyMemoryStream stream(data, static_cast<int64_t>(size));
    wave.LoadRiff(stream);
  } catch (const Exception&) {
    return 0;
  }
  if (wave.FormatSize() <= 0 || wave.WaveSize() <= 0) return 0;
  TMemoryStream image;
  wave.SaveRiff(image);
  image.SetPosition(0);
  TWave back;
  back.LoadRiff(image);
  if (back.FormatSize() != wave.FormatSize() || back.WaveSize() != wave.WaveSize() ||
      std::memcmp(back.FormatData(), wave.FormatData(), static_cast<size_t>(wave.FormatSize())) !=
          0 ||
      std::memcmp(back.WaveData(), wave.WaveData(), static_cast<size_t>(wave.WaveSize())) != 0) {
    std::abort();
  }
  return 0;
}
