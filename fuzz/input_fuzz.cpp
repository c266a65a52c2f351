// Stored input settings from untrusted bytes: the key table, the framework's component
// stream and resource, and a device's effect tree. Whatever reads must also write back and
// read again to the same thing.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/input/force_feedback_effects.h"
#include "engine/input/keyboard.h"
#include "framework/component_stream.h"

namespace {

void keyTable(const std::vector<uint8_t>& data) {
  try {
    const TKeyAssigns assigns = ReadKeyAssigns(data);
    if (StoreKeyAssigns(assigns) != data) std::abort();
  } catch (const EReadError&) {
  }
}

void componentStream(const uint8_t* data, size_t size) {
  try {
    TReadOnlyMemoryStream in(data, static_cast<int64_t>(size));
    const TDescriptionObject object = ReadComponentStream(in);
    TMemoryStream out;
    WriteComponentStream(out, object);
    out.SetPosition(0);
    TMemoryStream again;
    WriteComponentStream(again, ReadComponentStream(out));
    if (again.Bytes() != out.Bytes()) std::abort();
  } catch (const EReadError&) {
  }
}

void effectTree(const std::vector<uint8_t>& data) {
  TForceFeedbackEffects root(nullptr);
  try {
    root.LoadFromBytes(data);
  } catch (const EReadError&) {
    return;
  }
  const std::vector<uint8_t> saved = root.SaveToBytes();
  TForceFeedbackEffects copy(nullptr);
  copy.LoadFromBytes(saved);
  if (copy.SaveToBytes() != saved) std::abort();
  try {
    root.Find("eff1")->Start();
  } catch (const EForceFeedbackEffectError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  keyTable(bytes);
  componentStream(data, size);
  effectTree(bytes);
  return 0;
}
