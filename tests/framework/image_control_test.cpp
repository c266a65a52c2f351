#include "framework/image_control.h"

#include <gtest/gtest.h>

#include "framework/description.h"
#include "support/fake_app.h"

namespace {

TEST(ImageControl, DrawsItsPictureClippedToItsBoxAndReportsClicks) {
  FakeApp f;
  TForm* form = f.app->CreateForm<TForm>();
  form->LoadDescription(ParseDescription(R"(
object Dialog: TForm
  Caption = 'Dialog'
  ClientWidth = 40
  ClientHeight = 30
  object Button: TImage
    Left = 10
    Top = 5
    Width = 4
    Height = 3
  end
end
)"));
  auto* image = dynamic_cast<TImage*>(form->FindComponent("Button"));
  ASSERT_NE(image, nullptr);
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(6, 6);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 6; ++x)
      bitmap->SetPixel(x, y, 0x00102030u + static_cast<uint32_t>(x + 10 * y));
  }
  image->Picture.SetGraphic(std::move(bitmap));
  int clicks = 0;
  image->OnClick = [&](TObject*) { ++clicks; };
  form->Show();
  const platform::FakePicture& shown = f.platform.findWindow(form->Handle()->id())->lastPicture();
  EXPECT_EQ(shown.pixel(10, 5) & 0xFFFFFF, 0x00102030u);
  EXPECT_EQ(shown.pixel(13, 7) & 0xFFFFFF, 0x00102030u + 3 + 20);
  EXPECT_NE(shown.pixel(14, 7) & 0xFFFFFF, 0x00102030u + 4 + 20);  // outside its box
  EXPECT_NE(shown.pixel(10, 8) & 0xFFFFFF, 0x00102030u + 30);
  f.events().pushMouseDown(form->Handle()->id(), 11, 6);
  f.events().pushMouseUp(form->Handle()->id(), 11, 6);
  f.events().pushMouseDown(form->Handle()->id(), 30, 20);
  f.events().pushMouseUp(form->Handle()->id(), 30, 20);
  f.step(4);
  EXPECT_EQ(clicks, 1);
}

}  // namespace
