#include "platform/dl_library_loader.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(DlLibraryLoader, LoadsARealLibraryAndCallsItsEntry) {
  auto loader = createDlLibraryLoader();
  void* libm = loader->load("libm.so.6");
  ASSERT_NE(libm, nullptr);
  void* entry = loader->symbol(libm, "cos");
  ASSERT_NE(entry, nullptr);
  auto* cosine = reinterpret_cast<double (*)(double)>(entry);
  EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
  EXPECT_EQ(loader->symbol(libm, "no_such_entry_in_libm"), nullptr);
  loader->unload(libm);
}

TEST(DlLibraryLoader, MissingLibrariesAndEntriesGiveNull) {
  auto loader = createDlLibraryLoader();
  EXPECT_EQ(loader->load("DInput.dll"), nullptr);
  EXPECT_EQ(loader->load("libreefmaw_missing.so"), nullptr);
  // An empty name would otherwise open the program itself.
  EXPECT_EQ(loader->load(""), nullptr);
  EXPECT_EQ(loader->symbol(nullptr, "cos"), nullptr);
  loader->unload(nullptr);  // harmless
}

}  // namespace
}  // namespace platform
