#include "platform/dl_library_loader.h"

#include <dlfcn.h>

namespace platform {
namespace {

class DlLibraryLoader final : public LibraryLoader {
 public:
  void* load(const std::string& name) override {
    if (name.empty()) return nullptr;  // dlopen("") would hand back the program itself
    // Local binding keeps a loaded library's symbols from resolving other libraries'.
    return dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  }

  void* symbol(void* library, const std::string& entry) override {
    if (library == nullptr || entry.empty()) return nullptr;
    return dlsym(library, entry.c_str());
  }

  void unload(void* library) override {
    if (library != nullptr) dlclose(library);
  }
};

}  // namespace

std::unique_ptr<LibraryLoader> createDlLibraryLoader() {
  return std::make_unique<DlLibraryLoader>();
}

}  // namespace platform
