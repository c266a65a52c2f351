#include "engine/input/keyboard.h"

#include "input_fixture.h"

namespace {

TEST(KeyAssignsTest, StoredFormIsRowsOfThreeLittleEndianCodes) {
  const std::vector<uint8_t> bytes = StoreKeyAssigns(DefaultKeyAssigns());
  ASSERT_EQ(bytes.size(), 432u);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 12),
            (std::vector<uint8_t>{75, 0, 0, 0, 38, 0, 0, 0, 104, 0, 0, 0}));
  EXPECT_EQ(bytes[12 * 12], 113) << "F2 in the row of button 9";
  EXPECT_EQ(ReadKeyAssigns(bytes), DefaultKeyAssigns());
}

TEST(KeyAssignsTest, NegativeCodesSurviveTheStoredForm) {
  TKeyAssigns a{};
  a[35] = {-1, 256, 0x7FFFFFFF};
  EXPECT_EQ(ReadKeyAssigns(StoreKeyAssigns(a)), a);
}

TEST(KeyAssignsTest, OtherSizesAreReadingErrors) {
  for (size_t size : {0u, 431u, 433u, 864u}) {
    EXPECT_THROW(ReadKeyAssigns(std::vector<uint8_t>(size, 0)), EReadError) << size;
  }
}

using KeyboardTest = InputTest;

TEST_F(KeyboardTest, MisspelledStoredNameIsAcceptedToo) {
  TKeyAssigns custom{};
  custom[isUp] = {87, 0, 0};  // W
  TPropertyValue v;
  v.kind = TPropertyValue::Kind::Binary;
  v.bytes = StoreKeyAssigns(custom);
  TDXInput* input = create([&](TDXInput& in) { in.SetStoredProperty("Keyboard.Aissgns", v); });
  EXPECT_EQ(input->Keyboard->Assigns, custom);
  sys->setKey(87, true);
  input->UpdateInput();
  EXPECT_EQ(input->States, (TDXInputStates{isUp}));
}

TEST_F(KeyboardTest, CodesOutsideTheTableNeverCount) {
  TDXInput* input = create();
  input->Keyboard->Assigns = TKeyAssigns{};
  input->Keyboard->Assigns[isUp] = {0, 256, -1};
  input->Keyboard->Assigns[isDown] = {255, 0, 0};
  sys->keys.fill(0x80);
  input->UpdateInput();
  EXPECT_EQ(input->States, (TDXInputStates{isDown}));
}

TEST_F(KeyboardTest, HeldKeysNeedBitSeven) {
  TDXInput* input = create();
  sys->keys[38] = 0x01;  // toggled, not held
  input->UpdateInput();
  EXPECT_TRUE(input->States.Empty());
  EXPECT_EQ(input->Keyboard->ButtonCount, 32);
}

}  // namespace
