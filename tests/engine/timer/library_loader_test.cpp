#include "engine/timer/library_loader.h"

#include <gtest/gtest.h>

#include "framework/exceptions.h"
#include "platform/audio_system.h"
#include "platform/fake_platform.h"
#include "platform/input_system.h"

namespace {

int entryA = 1;
int entryB = 2;

struct LibraryTest : ::testing::Test {
  platform::FakeLibraryLoader loader;
  void SetUp() override {
    loader.addLibrary("DInput.dll", {{"DirectInputCreateA", &entryA}, {"Other", &entryB}});
  }
};

TEST_F(LibraryTest, OneLoadPerNameWhateverItsCase) {
  TLibraryTable table(loader);
  EXPECT_EQ(table.LoadProc("DInput.dll", "DirectInputCreateA"), &entryA);
  EXPECT_EQ(table.LoadProc("dinput.dll", "Other"), &entryB);
  EXPECT_EQ(loader.library("DInput.dll")->loads, 1);
  EXPECT_EQ(table.Count(), 1);
}

TEST_F(LibraryTest, MissingEntryNamesTheLibraryAndKeepsItLoaded) {
  TLibraryTable table(loader);
  try {
    table.LoadProc("DInput.dll", "Nothing");
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "DInput.dll not loaded");
  }
  EXPECT_EQ(loader.library("DInput.dll")->openCount(), 1);
  EXPECT_THROW(table.LoadProc("DSound.dll", "DirectSoundCreate"), Exception);
  EXPECT_EQ(table.Count(), 1);
}

TEST_F(LibraryTest, EveryLibraryIsUnloadedWithTheTable) {
  {
    TLibraryTable table(loader);
    table.LoadProc("DInput.dll", "Other");
  }
  EXPECT_EQ(loader.library("DInput.dll")->openCount(), 0);
}

}  // namespace
