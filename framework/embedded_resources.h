#pragma once
// Files of resources/ compiled into the program (window descriptions and the pictures
// and wave they include).

#include <cstddef>
#include <string>

struct EmbeddedResource {
  const char* name;  // file name under resources/, lower case
  const unsigned char* data;
  size_t size;
};

extern const EmbeddedResource kEmbeddedResources[];

// The resource of that name (any letter case), or nullptr.
const EmbeddedResource* FindEmbeddedResource(const std::string& name);
