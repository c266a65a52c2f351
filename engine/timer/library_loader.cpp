#include "engine/timer/library_loader.h"

#include <algorithm>
#include <memory>

#include "framework/application.h"
#include "framework/exceptions.h"
#include "framework/text_case.h"

namespace {

std::unique_ptr<TLibraryTable>& programTable() {
  static std::unique_ptr<TLibraryTable> table;
  return table;
}

}  // namespace

TLibraryTable::~TLibraryTable() {
  for (auto& [name, handle] : libraries_) loader_.unload(handle);
}

void* TLibraryTable::LoadProc(const std::string& library, const std::string& entry) {
  const std::string key = LowerCase(library);
  void* handle = nullptr;
  for (const auto& [name, h] : libraries_) {
    if (name == key) handle = h;
  }
  if (handle == nullptr) {
    handle = loader_.load(library);
    if (handle == nullptr) throw Exception(Format("%s not loaded", library));
    libraries_.emplace_back(key, handle);
  }
  void* address = loader_.symbol(handle, entry);
  if (address == nullptr) throw Exception(Format("%s not loaded", library));
  return address;
}

void* LoadProc(const std::string& library, const std::string& entry) {
  auto& table = programTable();
  if (!table) table = std::make_unique<TLibraryTable>(Application->Platform().libraries());
  return table->LoadProc(library, entry);
}

void FreeLibraries() { programTable().reset(); }
