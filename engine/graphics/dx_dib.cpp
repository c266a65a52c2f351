#include "engine/graphics/dx_dib.h"

#include "framework/stream.h"

void TDXDIB::SetStoredProperty(const std::string& name, const TPropertyValue& value) {
  if (name == "DIB.Data") {
    const std::vector<uint8_t>& bytes = value.AsBinary(name);
    TReadOnlyMemoryStream stream(bytes.data(), static_cast<int64_t>(bytes.size()));
    DIB.ReadData(stream);
  } else {
    TComponent::SetStoredProperty(name, value);
  }
}
