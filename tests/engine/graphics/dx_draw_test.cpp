#include "engine/graphics/dx_draw.h"

#include <gtest/gtest.h>

#include "engine/graphics/display_fixture.h"

namespace {

using Log = std::vector<std::string>;

class DXDrawTest : public ::testing::Test {
 protected:
  DisplayFixture f;
  int receiver = 0;

  void SetUp() override { f.load(); }
  Log takeLog() { return std::exchange(f.form->Log, {}); }
};

const TDXDrawOptions kGameFullScreen{doFullScreen, doAllowReboot, doWaitVBlank, doCenter, doFlip};

}  // namespace

TEST_F(DXDrawTest, TheGameOptionsGiveThePageFlippedFullScreen) {
  TDXDraw* d = f.dxdraw();
  EXPECT_EQ(d->EffectiveOptions(), kGameFullScreen);
  EXPECT_FALSE(d->Initialized());  // reading the description does not start it
  f.show();
  ASSERT_TRUE(d->Initialized());
  EXPECT_NE(dynamic_cast<TDXDrawDriverFlip*>(d->Presenter()), nullptr);
  EXPECT_EQ(d->Surface().Width(), 800);
  EXPECT_EQ(d->Surface().Height(), 600);
  EXPECT_EQ(d->Surface().PixelFormat(), PixelFormat565());
  EXPECT_TRUE(f.window()->fullscreen());
  EXPECT_EQ(f.window()->logicalWidth(), 800);
  EXPECT_EQ(f.window()->logicalMode(), platform::PresentMode::FitKeepAspect);
  EXPECT_EQ(takeLog(), (Log{"OnInitialize"}));
}

TEST_F(DXDrawTest, InAWindowTheCopyPresenterIsUsedDespiteDoFlip) {
  TDXDraw* d = f.dxdraw();
  d->SetOptions(
      TDXDrawOptions{doSelectDriver, doFlip, doCenter, doAllowReboot, doWaitVBlank, doHardware});
  EXPECT_EQ(d->EffectiveOptions(), (TDXDrawOptions{doWaitVBlank, doCenter}));
  f.show();
  EXPECT_NE(dynamic_cast<TDXDrawDriverBlt*>(d->Presenter()), nullptr);
  EXPECT_EQ(d->Surface().Width(), 519);  // the stored design size
  EXPECT_FALSE(f.window()->fullscreen());
  // The 308 x 182 design window grows so that the whole page shows.
  EXPECT_EQ(f.window()->placement().width, 519);
  EXPECT_EQ(f.window()->placement().height, 481);
  EXPECT_EQ(f.window()->logicalMode(), platform::PresentMode::Center);
}

TEST_F(DXDrawTest, FitAndIntegerScalingShowThePageScaledInAWindowAndFullScreen) {
  TDXDraw* d = f.dxdraw();
  d->Scaling = TDXDrawScaling::Integer;
  f.show();
  EXPECT_EQ(f.window()->logicalMode(), platform::PresentMode::IntegerScale);
  d->Flip();
  EXPECT_EQ(f.window()->lastPicture().mode, platform::PresentMode::IntegerScale);
  // In a window the page is scaled too, so the window keeps the size it was given rather
  // than growing to the page.
  d->Finalize();
  d->Scaling = TDXDrawScaling::Fit;
  d->SetOptions(TDXDrawOptions{doCenter, doWaitVBlank});
  f.window()->setClientSize(400, 300);
  d->Initialize();
  EXPECT_FALSE(f.window()->fullscreen());
  EXPECT_EQ(f.window()->placement().width, 400);
  EXPECT_EQ(f.window()->logicalMode(), platform::PresentMode::FitKeepAspect);
  d->Flip();
  EXPECT_EQ(f.window()->lastPicture().mode, platform::PresentMode::FitKeepAspect);
}

TEST_F(DXDrawTest, OptionsSetWhileRunningChangeOnlyTheLiveOnes) {
  TDXDraw* d = f.dxdraw();
  f.show();
  d->SetOptions(TDXDrawOptions{doStretch, doSystemMemory});
  EXPECT_EQ(d->EffectiveOptions(),
            (TDXDrawOptions{doFullScreen, doAllowReboot, doStretch, doFlip}));
  EXPECT_EQ(d->Options(), (TDXDrawOptions{doStretch, doSystemMemory}));
}

TEST_F(DXDrawTest, NotificationsComeInTheirOrder) {
  f.watch(&receiver);
  EXPECT_EQ(takeLog(), (Log{"SurfaceSize"}));
  f.show();
  EXPECT_EQ(takeLog(), (Log{"Initializing", "SurfaceSize", "Initialize", "OnInitialize",
                            "InitializeSurface", "Restore"}));
  f.dxdraw()->Finalize();
  EXPECT_EQ(takeLog(), (Log{"FinalizeSurface", "OnFinalize", "Finalize"}));
  EXPECT_FALSE(f.dxdraw()->Initialized());
}

TEST_F(DXDrawTest, ALateHandlerIsToldEverythingAtOnce) {
  f.show();
  takeLog();
  f.watch(&receiver);
  EXPECT_EQ(takeLog(), (Log{"SurfaceSize", "Initialize", "InitializeSurface", "Restore"}));
  f.dxdraw()->UnregisterNotify(&receiver);
  EXPECT_EQ(takeLog(), (Log{"FinalizeSurface", "Finalize"}));
  f.dxdraw()->UnregisterNotify(&receiver);
  EXPECT_TRUE(takeLog().empty());
}

TEST_F(DXDrawTest, SwitchingBetweenFullScreenAndWindowRebuildsTheImages) {
  TDXDraw* d = f.dxdraw();
  TPictureCollectionItem* item = f.images()->Items->Add();
  item->SetName("pic");
  TDIB dib;
  dib.SetSize(20, 10, 24);
  dib.SetPixel(3, 4, 0xFFFFFF);
  item->Picture().SetGraphic(dib.Clone());
  f.show();
  ASSERT_TRUE(item->Usable());
  EXPECT_EQ(item->PatternSurface(0)->GetPixel(3, 4), 0xFFFFu);
  f.watch(&receiver);
  takeLog();
  for (bool fullScreen : {false, true}) {
    SCOPED_TRACE(fullScreen);
    // What the Alt+Enter handler does.
    d->Finalize();
    EXPECT_FALSE(item->Usable());
    TDXDrawOptions options = d->Options();
    if (fullScreen) {
      options.Include(doFullScreen);
    } else {
      options.Exclude(doFullScreen);
    }
    d->SetOptions(options);
    d->Initialize();
    EXPECT_EQ(takeLog(),
              (Log{"FinalizeSurface", "OnFinalize", "Finalize", "Initializing", "SurfaceSize",
                   "Initialize", "OnInitialize", "InitializeSurface", "Restore"}));
    EXPECT_EQ(d->EffectiveOptions().Contains(doFlip), fullScreen);
    EXPECT_EQ(f.window()->fullscreen(), fullScreen);
    // The window keeps the page size the full screen had.
    EXPECT_EQ(d->Surface().Width(), 800);
    ASSERT_TRUE(item->Usable());
    ASSERT_NE(item->PatternSurface(0), nullptr);
    EXPECT_EQ(item->PatternSurface(0)->DDraw(), d->DDraw());
    EXPECT_EQ(item->PatternSurface(0)->GetPixel(3, 4), 0xFFFFu);
  }
}

TEST_F(DXDrawTest, FlipPresentsThePageOnlyWhileTheGameIsInFront) {
  TDXDraw* d = f.dxdraw();
  f.show();
  ASSERT_TRUE(d->CanDraw());
  d->Surface().Fill(0xF800);
  const int before = f.window()->presentCount();
  d->Flip();
  ASSERT_EQ(f.window()->presentCount(), before + 1);
  const platform::FakePicture& shown = f.window()->lastPicture();
  EXPECT_EQ(shown.width, 800);
  EXPECT_EQ(shown.format, platform::PixelFormat::RGB565);
  EXPECT_TRUE(shown.vsync);
  EXPECT_EQ(shown.pixel(799, 599), 0xF800u);

  f.fake.events().pushFocus(f.form->Handle()->id(), false);
  f.fake.step(3);
  ASSERT_FALSE(f.fake.app->Active());
  d->Flip();
  EXPECT_EQ(f.window()->presentCount(), before + 1);  // nothing shown, no error
  EXPECT_EQ(f.window()->skipCount(), 1);              // but the frame still takes its refresh
  EXPECT_TRUE(d->CanDraw());
}

TEST_F(DXDrawTest, TheFirstPageIsShownBeforeTheGameComesToTheFront) {
  // Some window systems show a window, and give it the keyboard, only once it has a
  // picture: a game that waited for the keyboard before its first page would never show.
  TDXDraw* d = f.dxdraw();
  f.form->Show();
  ASSERT_FALSE(f.fake.app->Active());
  ASSERT_TRUE(d->CanDraw());
  const int before = f.window()->presentCount();
  d->Flip();
  EXPECT_EQ(f.window()->presentCount(), before + 1);
  d->Flip();
  EXPECT_EQ(f.window()->presentCount(), before + 1);
  EXPECT_EQ(f.window()->skipCount(), 1);

  // Alt+Enter makes the surfaces anew: their first page goes out as well.
  d->Finalize();
  d->Initialize();
  d->Flip();
  EXPECT_EQ(f.window()->presentCount(), before + 2);
}

TEST_F(DXDrawTest, APaintRequestShowsThePageAgainWithoutWaiting) {
  f.show();
  const int before = f.window()->presentCount();
  platform::Event expose;
  expose.kind = platform::EventKind::Expose;
  expose.window = f.form->Handle()->id();
  f.fake.events().push(expose);
  f.fake.step(2);
  EXPECT_EQ(f.window()->presentCount(), before + 1);
  EXPECT_FALSE(f.window()->lastPicture().vsync);
}

TEST_F(DXDrawTest, LostSurfacesAreRestoredOnceAndTheImagesRebuilt) {
  TDXDraw* d = f.dxdraw();
  TPictureCollectionItem* item = f.images()->Items->Add();
  TDIB dib;
  dib.SetSize(4, 4, 24);
  item->Picture().SetGraphic(dib.Clone());
  f.show();
  f.watch(&receiver);
  takeLog();
  // The window's textures were reset: the platform says so, or a present fails.
  platform::Event reset;
  reset.kind = platform::EventKind::RenderReset;
  reset.window = f.form->Handle()->id();
  f.fake.events().push(reset);
  f.fake.step(2);
  EXPECT_TRUE(d->Surface().IsLost());
  EXPECT_TRUE(d->CanDraw());
  EXPECT_EQ(takeLog(), (Log{"Restore"}));
  EXPECT_FALSE(d->Surface().IsLost());
  EXPECT_FALSE(item->PatternSurface(0)->IsLost());  // made anew from the picture

  f.window()->setPresentResult(false);
  d->Flip();
  f.window()->setPresentResult(true);
  d->Flip();
  EXPECT_EQ(takeLog(), (Log{"Restore"}));
}

TEST_F(DXDrawTest, DisplayModesAreSearchedWhenThereIsNoDesktop) {
  f.fake.platform.setDesktopMode(platform::DisplayMode{});
  f.fake.platform.setDisplayModes({{640, 480, 32, 60}, {1280, 1024, 32, 60}, {1024, 768, 32, 60}});
  TDXDraw* d = f.dxdraw();
  f.show();
  ASSERT_TRUE(d->Initialized());
  // The smallest mode of the same shape at least as large, at the asked depth.
  EXPECT_EQ(d->Display().Width(), 1024);
  EXPECT_EQ(d->Display().Height(), 768);
  EXPECT_EQ(d->Display().BitCount(), 16);

  d->Finalize();
  d->Display().FixedRatio = false;
  f.fake.platform.setDisplayModes({{1280, 1024, 32, 60}, {1400, 1050, 32, 60}});
  d->Display().SetWidth(800);
  d->Display().SetHeight(600);
  d->Initialize();
  EXPECT_EQ(d->Display().Width(), 1280);
}

TEST_F(DXDrawTest, AModeThatCannotBeSetLeavesTheDisplayFinalized) {
  f.fake.platform.setDesktopMode(platform::DisplayMode{});
  f.fake.platform.setDisplayModes({{640, 480, 32, 60}});
  std::vector<std::string> boxes;
  f.fake.app->OnShowMessage = [&](const std::string& text) { boxes.push_back(text); };
  f.show();
  EXPECT_FALSE(f.dxdraw()->Initialized());
  EXPECT_EQ(f.dxdraw()->Presenter(), nullptr);
  EXPECT_EQ(boxes, (std::vector<std::string>{"Display mode cannot be changed (800x600 16bit)"}));
  EXPECT_FALSE(f.dxdraw()->CanDraw());
}

TEST_F(DXDrawTest, StoredSettingsAreChecked) {
  try {
    f.dxdraw()->Display().SetBitCount(15);
    FAIL();
  } catch (const EDirectDrawError& e) {
    EXPECT_EQ(e.Message(), "It should be either of 8 or 16 or 24 or 32");
  }
  f.dxdraw()->Display().SetWidth(-5);
  EXPECT_EQ(f.dxdraw()->Display().Width(), 0);
  DisplayFixture other;
  EXPECT_THROW(other.load(R"(object Main: TDisplayTestForm
  object DXDraw: TDXDraw
    Options = [doFullScreen, doWarp]
  end
end)"),
               EReadError);
}

TEST(DXDrawWithoutForm, InitializeNeedsAnEnclosingForm) {
  FakeApp fake;
  TDXDraw d(fake.app.get());
  try {
    d.Initialize();
    FAIL();
  } catch (const EDXDrawError& e) {
    EXPECT_EQ(e.Message(), "Form not found");
  }
  EXPECT_FALSE(d.Initialized());
}
