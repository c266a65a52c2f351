#include "engine/graphics/image_list.h"

#include <gtest/gtest.h>

#include "engine/graphics/display_fixture.h"

namespace {

// A picture whose pixel (x, y) has the colour x + 1000 * y (as 0x00RRGGBB), so a copied
// pixel tells where it came from.
std::unique_ptr<TDIB> sheet(int w, int h) {
  auto dib = std::make_unique<TDIB>();
  dib->SetSize(w, h, 24);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) dib->SetPixel(x, y, static_cast<uint32_t>(x + 1000 * y) << 3);
  }
  return dib;
}

class ImageListTest : public ::testing::Test {
 protected:
  DisplayFixture f;
  TPictureCollection* items = nullptr;

  void SetUp() override {
    f.load();
    items = f.images()->Items;
  }
  TPictureCollectionItem* add(const std::string& name, int w = 0, int h = 0) {
    TPictureCollectionItem* item = items->Add();
    item->SetName(name);
    if (w > 0) item->Picture().SetGraphic(sheet(w, h));
    return item;
  }
  // Where a pattern's surface pixel came from in the sheet.
  static uint32_t origin(TPictureCollectionItem* item, int pattern, int dx, int dy) {
    const TRect r = item->PatternRect(pattern);
    const uint32_t rgb = PixelToRGB(
        item->PatternSurface(pattern)->GetPixel(r.Left + dx, r.Top + dy), PixelFormat565());
    (void)rgb;
    return item->PatternSurface(pattern)->GetPixel(r.Left + dx, r.Top + dy);
  }
  // The surface value of the sheet's pixel (x, y).
  static uint32_t expected(TDirectDrawSurface* s, int x, int y) {
    return RGBToPixel(static_cast<uint32_t>(x + 1000 * y) << 3, s->PixelFormat());
  }
};

}  // namespace

TEST(ImageNames, HashAndCompareIgnoringCase) {
  EXPECT_EQ(NameHash(""), 0);
  EXPECT_EQ(NameHash("x"), 16);
  EXPECT_EQ(NameHash("ab"), static_cast<uint8_t>(32 + 'a' + 'a'));
  EXPECT_EQ(NameHash("Mouse"), NameHash("mOUSE"));
  EXPECT_TRUE(SameName("Shlak", "SHLAK"));
  EXPECT_TRUE(SameName("Жизни", "жИЗНИ"));
  EXPECT_FALSE(SameName("f11", "f1"));
}

TEST_F(ImageListTest, LookupsIgnoreCaseAndTheLatestNameWins) {
  add("f11");
  add("Shlak");
  TPictureCollectionItem* mouse = add("Mouse");
  add("Panel");
  EXPECT_EQ(items->FindByName("F11")->Name(), "f11");
  EXPECT_EQ(items->FindByName("shlak")->Name(), "Shlak");
  EXPECT_EQ(items->Find("mouse"), mouse);
  EXPECT_EQ(items->FindByName("panel")->Index(), 3);
  TPictureCollectionItem* second = add("MOUSE");
  EXPECT_EQ(items->FindByName("mouse"), second);
  second->SetName("other");
  EXPECT_EQ(items->FindByName("mouse"), mouse);
  items->Delete(0);
  EXPECT_EQ(items->FindByName("Panel")->Index(), 2);  // cached indexes follow
  try {
    items->FindByName("kit");
    FAIL();
  } catch (const EPictureCollectionError& e) {
    EXPECT_EQ(e.Message(), "Image 'kit' not found");
  }
}

TEST_F(ImageListTest, AWholePictureIsOnePattern) {
  TPictureCollectionItem* item = add("m1", 30, 20);
  f.show();
  ASSERT_EQ(item->PatternCount(), 1);
  EXPECT_EQ(item->PatternRect(0), (TRect{0, 0, 30, 20}));
  EXPECT_EQ(item->PatternRect(1), (TRect{0, 0, 0, 0}));
  EXPECT_EQ(item->PatternSurface(1), nullptr);
  EXPECT_EQ(item->CellWidth(), 30);
  TDirectDrawSurface& screen = f.dxdraw()->Surface();
  screen.Fill(0);
  item->Transparent = false;
  item->DrawPattern(screen, 5, 5, 1);
  EXPECT_EQ(screen.GetPixel(5, 5), 0u);
  item->DrawPattern(screen, 5, 5, 0);
  EXPECT_EQ(screen.GetPixel(7, 6), expected(&screen, 2, 1));
}

TEST_F(ImageListTest, PatternsOfASingleTile) {
  TPictureCollectionItem* item = add("grid", 200, 100);
  item->PatternWidth = 50;
  item->PatternHeight = 50;
  f.show();
  ASSERT_EQ(item->PatternCount(), 8);
  EXPECT_EQ(item->SurfaceCount(), 1);
  EXPECT_EQ(item->PatternRect(5), (TRect{50, 50, 100, 100}));
  EXPECT_EQ(origin(item, 5, 0, 0), expected(item->PatternSurface(5), 50, 50));
}

TEST_F(ImageListTest, AWideSheetIsSplitIntoTilesWithoutCuttingAPattern) {
  TPictureCollectionItem* item = add("strip", 1000, 50);
  item->PatternWidth = 100;
  item->PatternHeight = 50;
  f.show();
  ASSERT_EQ(item->SurfaceCount(), 2);
  EXPECT_EQ(item->Surfaces(0)->Width(), 600);
  EXPECT_EQ(item->Surfaces(1)->Width(), 400);
  ASSERT_EQ(item->PatternCount(), 10);
  EXPECT_EQ(item->PatternRect(7), (TRect{100, 0, 200, 50}));
  EXPECT_EQ(item->PatternSurface(7), item->Surfaces(1));
  EXPECT_EQ(origin(item, 7, 0, 0), expected(item->Surfaces(1), 700, 0));
  EXPECT_EQ(origin(item, 7, 99, 49), expected(item->Surfaces(1), 799, 49));
}

TEST_F(ImageListTest, GapsCellsLargerThanThePictureAndOneSurfaceInSystemMemory) {
  TPictureCollectionItem* gaps = add("gaps", 94, 30);
  gaps->PatternWidth = 30;
  gaps->SkipWidth = 2;
  TPictureCollectionItem* big = add("big", 40, 40);
  big->PatternWidth = 41;
  TPictureCollectionItem* system = add("system", 100, 60);
  system->PatternWidth = 50;
  system->PatternHeight = 30;
  system->SystemMemory = true;
  f.show();
  ASSERT_EQ(gaps->PatternCount(), 3);
  EXPECT_EQ(gaps->PatternRect(1).Left, 32);
  EXPECT_EQ(gaps->PatternRect(2), (TRect{64, 0, 94, 30}));
  EXPECT_EQ(big->PatternCount(), 0);
  EXPECT_EQ(big->SurfaceCount(), 0);
  big->DrawPattern(f.dxdraw()->Surface(), 0, 0, 0);  // draws nothing
  EXPECT_EQ(system->SurfaceCount(), 1);
  EXPECT_EQ(system->PatternCount(), 4);
  EXPECT_EQ(system->PatternRect(3), (TRect{50, 30, 100, 60}));
}

TEST_F(ImageListTest, TheTransparentColourKeysEverySurface) {
  TPictureCollectionItem* item = add("strip", 1000, 50);
  item->PatternWidth = 100;
  item->SetTransparentColor(0x00FFFFFF);
  f.show();
  ASSERT_EQ(item->SurfaceCount(), 2);
  EXPECT_EQ(item->Surfaces(1)->ColorKey(), 0xFFFFu);
  item->Surfaces(0)->SetColorKey(0x1234);
  item->SetTransparentColor(0x00FFFFFF);  // the same colour: surfaces untouched
  EXPECT_EQ(item->Surfaces(0)->ColorKey(), 0x1234u);
  item->SetTransparentColor(0x00008000);
  EXPECT_EQ(item->Surfaces(0)->ColorKey(), 0x0400u);
  EXPECT_EQ(item->Surfaces(1)->ColorKey(), 0x0400u);

  // Keyed drawing leaves the screen where the picture has the key.
  TPictureCollectionItem* dot = add("dot");
  TDIB dib;
  dib.SetSize(2, 1, 24);
  dib.SetPixel(1, 0, 0x0000FF);
  dot->Picture().SetGraphic(dib.Clone());
  f.dxdraw()->Restore();
  TDirectDrawSurface& screen = f.dxdraw()->Surface();
  screen.Fill(0x7777);
  dot->DrawPattern(screen, 0, 0, 0);
  EXPECT_EQ(screen.GetPixel(0, 0), 0x7777u);
  EXPECT_EQ(screen.GetPixel(1, 0), 0x001Fu);
}

TEST_F(ImageListTest, APictureLoadedAfterTheRestoreWaitsForTheNext) {
  TPictureCollectionItem* item = add("late");
  f.show();
  EXPECT_TRUE(item->Usable());
  item->Picture().SetGraphic(sheet(10, 10));
  EXPECT_EQ(item->PatternCount(), 0);
  f.dxdraw()->Restore();
  EXPECT_EQ(item->PatternCount(), 1);
  TPictureCollectionItem* added = add("added", 5, 5);  // added while running
  EXPECT_TRUE(added->Usable());
  EXPECT_EQ(added->PatternCount(), 0);
}

TEST_F(ImageListTest, InitializingNeedsARunningDisplay) {
  try {
    items->InitializeAll(f.dxdraw());
    FAIL();
  } catch (const EPictureCollectionError& e) {
    EXPECT_EQ(e.Message(), "TPictureCollection cannot be initialized");
  }
  EXPECT_FALSE(items->Initialized());
}

TEST_F(ImageListTest, TheWaveDrawOfAPattern) {
  TPictureCollectionItem* item = add("menu", 20, 10);
  item->Transparent = false;
  f.show();
  TDirectDrawSurface& screen = f.dxdraw()->Surface();
  screen.Fill(0);
  item->DrawPatternWave(screen, 100, 100, 40, 20, 0, 0, 80, 0);
  EXPECT_EQ(screen.GetPixel(103, 105), expected(&screen, 1, 2));
  item->DrawPatternWave(screen, 300, 100, 40, 20, 3, 0, 80, 0);  // no such pattern
  EXPECT_EQ(screen.GetPixel(310, 110), 0u);
}

TEST_F(ImageListTest, TheColourTableCollectsThePicturesColours) {
  TPictureCollectionItem* a = add("a");
  TDIB dib;
  dib.SetSize(2, 2, 8);
  TRGBQuads table{};
  table[0] = TRGBQuad{0, 0, 0, 0};  // black: already a fixed colour
  table[1] = TRGBQuad{10, 20, 30, 0};
  table[2] = TRGBQuad{10, 20, 30, 0};     // offered twice, taken once
  table[3] = TRGBQuad{255, 255, 255, 0};  // white is fixed at 255
  dib.SetColorTable(table);
  a->Picture().SetGraphic(dib.Clone());
  add("plain", 3, 3);  // a 24-bit picture offers nothing
  items->BuildColorTable();
  EXPECT_EQ(items->ColorTable[0], (TRGBQuad{0, 0, 0, 0}));
  EXPECT_EQ(items->ColorTable[1], (TRGBQuad{0, 0, 128, 0}));    // (128, 0, 0)
  EXPECT_EQ(items->ColorTable[249], (TRGBQuad{0, 0, 255, 0}));  // (255, 0, 0)
  EXPECT_EQ(items->ColorTable[255], (TRGBQuad{255, 255, 255, 0}));
  EXPECT_EQ(items->ColorTable[8], (TRGBQuad{10, 20, 30, 0}));  // the lowest free slot
  EXPECT_EQ(items->ColorTable[9], (TRGBQuad{0, 0, 0, 0}));
}

TEST(ImageListStored, ItemsComeFromTheWindowDescription) {
  DisplayFixture f;
  TDIB mouse;
  mouse.SetSize(50, 50, 24);
  TPicture holder({DIBGraphicFormat()});
  holder.SetGraphic(mouse.Clone());
  std::string hex;
  for (uint8_t b : holder.WriteData()) {
    static const char* digits = "0123456789ABCDEF";
    hex += digits[b >> 4];
    hex += digits[b & 15];
  }
  std::string table(2048, '0');
  table[2] = '8';  // entry 0's green = 0x80
  const std::string text = R"(object Main: TDisplayTestForm
  object DXDraw: TDXDraw
  end
  object ImageList: TDXImageList
    DXDraw = DXDraw
    Items = <
      item
        Name = 'Mouse'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = {)" +
                           hex + R"(}
        SystemMemory = False
        Transparent = True
        TransparentColor = clBlack
      end
      item
        Name = 'Shlak'
        SkipWidth = 2
        TransparentColor = clGreen
      end>
    Items.ColorTable = {)" +
                           table + R"(}
  end
end)";
  f.load(text);
  TPictureCollection* items = f.images()->Items;
  ASSERT_EQ(items->Count(), 2);
  EXPECT_EQ(items->FindByName("mouse")->Width(), 50);
  EXPECT_EQ(items->FindByName("shlak")->TransparentColor(), 0x00008000u);
  EXPECT_EQ(items->FindByName("shlak")->SkipWidth, 2);
  EXPECT_EQ(items->ColorTable[0].rgbGreen, 0x80);
  EXPECT_EQ(f.images()->DXDraw(), f.dxdraw());

  DisplayFixture bad;
  EXPECT_THROW(bad.load(R"(object Main: TDisplayTestForm
  object ImageList: TDXImageList
    Items.ColorTable = {00112233}
  end
end)"),
               EReadError);
}

TEST(ImageListStored, TheDisplayGoingAwayUnbindsTheList) {
  FakeApp fake;
  auto* form = fake.app->CreateForm<TDisplayTestForm>();
  auto* images = form->CreateComponent<TDXImageList>();
  {
    TDXDraw dxdraw(form);
    images->SetDXDraw(&dxdraw);
    EXPECT_EQ(images->DXDraw(), &dxdraw);
  }
  EXPECT_EQ(images->DXDraw(), nullptr);
}

TEST(ImageListStored, TheGameCatalogueOfTheMainWindow) {
  const TDescriptionObject main = LoadEmbeddedDescription("main_form.form");
  auto found = std::find_if(main.children.begin(), main.children.end(),
                            [](const TDescriptionObject& o) { return o.name == "ImageList"; });
  ASSERT_NE(found, main.children.end());
  FakeApp fake;
  TDXImageList images(fake.app.get());
  for (const TStoredProperty& p : found->properties) {
    if (p.name != "DXDraw") images.SetStoredProperty(p.name, p.value);
  }
  TPictureCollection* items = images.Items;
  EXPECT_EQ(items->Count(), 74);
  for (const char* name :
       {"background", "panel", "shlak", "puz", "m1", "m11", "a0", "a4", "F01", "f124"}) {
    EXPECT_NO_THROW(items->FindByName(name)) << name;
  }
  auto* mouse = dynamic_cast<TDIB*>(items->FindByName("mouse")->Picture().Graphic());
  ASSERT_NE(mouse, nullptr);
  EXPECT_EQ(mouse->Width(), 50);
  EXPECT_EQ(mouse->BitCount(), 24);
  auto* other = dynamic_cast<TDIB*>(items->FindByName("other")->Picture().Graphic());
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(other->Width(), 191);
  EXPECT_EQ(other->Height(), 41);
  EXPECT_EQ(other->BitCount(), 8);
  EXPECT_EQ(items->FindByName("other")->TransparentColor(), 0x00FFFFFFu);
  EXPECT_EQ(items->FindByName("Shlak")->TransparentColor(), 0x00008000u);
  EXPECT_FALSE(items->FindByName("background")->Transparent);
  EXPECT_EQ(items->ColorTable, TRGBQuads{});
}
