#include "framework/embedded_resources.h"

#include <algorithm>
#include <cctype>

const EmbeddedResource* FindEmbeddedResource(const std::string& name) {
  std::string lower = name;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const EmbeddedResource* r = kEmbeddedResources; r->name != nullptr; ++r) {
    if (lower == r->name) return r;
  }
  return nullptr;
}
