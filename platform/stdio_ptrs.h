#pragma once
// A C stream held by std::unique_ptr, closed on every way out of a function. Where the
// close can fail and that matters (a file being written), release() it and fclose it by
// hand to see the result.

#include <cstdio>
#include <memory>

namespace platform {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileUniquePtr = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace platform
