// Feeds arbitrary text to the window-description reader: it must either parse or raise
// EReadError, never crash or read out of bounds.

#include <cstddef>
#include <cstdint>
#include <string>

#include "framework/description.h"

namespace {

std::optional<std::vector<uint8_t>> fuzzInclude(const std::string& name) {
  if (name == "a") return std::vector<uint8_t>{1, 2, 3};
  return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    ParseDescription(text, fuzzInclude);
  } catch (const EReadError&) {
  }
  return 0;
}
