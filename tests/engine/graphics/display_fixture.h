#pragma once
// A headless window holding the display component and the image list with the game's
// settings, over the fake platform; the test sees every notification and event in order.

#include <memory>
#include <string>
#include <vector>

#include "engine/graphics/dx_draw.h"
#include "engine/graphics/image_list.h"
#include "framework/description.h"
#include "framework/form.h"
#include "support/fake_app.h"

class TDisplayTestForm : public TForm {
 public:
  explicit TDisplayTestForm(TComponent* owner) : TForm(owner) {
    PublishMethod("DXDrawInitialize",
                  TNotifyEvent([this](TObject*) { Log.push_back("OnInitialize"); }));
    PublishMethod("DXDrawFinalize",
                  TNotifyEvent([this](TObject*) { Log.push_back("OnFinalize"); }));
  }
  // The components go while the log they write to still exists.
  ~TDisplayTestForm() override { DestroyComponents(); }
  std::string ClassName() const override { return "TDisplayTestForm"; }
  TComponent* CreateStoredComponent(const std::string& className, TComponent* parent) override {
    if (className == "TDXDraw") return CreateComponent<TDXDraw>();
    if (className == "TDXImageList") return CreateComponent<TDXImageList>();
    return TForm::CreateStoredComponent(className, parent);
  }
  std::vector<std::string> Log;
};

// The display and image-list blocks of the game's main window.
inline constexpr const char* kDisplayDescription = R"(object Main: TDisplayTestForm
  BorderStyle = bsNone
  ClientHeight = 182
  ClientWidth = 308
  object DXDraw: TDXDraw
    Left = 0
    Top = 0
    Width = 308
    Height = 182
    Align = alClient
    AutoInitialize = True
    AutoSize = False
    Color = clBlack
    Display.BitCount = 16
    Display.FixedBitCount = True
    Display.FixedRatio = True
    Display.FixedSize = False
    Display.Height = 600
    Display.Width = 800
    Options = [doSelectDriver, doFlip, doCenter, doAllowReboot, doFullScreen, doWaitVBlank, doHardware]
    SurfaceHeight = 481
    SurfaceWidth = 519
    OnFinalize = DXDrawFinalize
    OnInitialize = DXDrawInitialize
  end
  object ImageList: TDXImageList
    DXDraw = DXDraw
  end
end)";

inline const char* notifyName(TDXDrawNotifyType kind) {
  static const char* names[] = {"Destroying", "Initializing",    "Initialize", "InitializeSurface",
                                "Finalize",   "FinalizeSurface", "Restore",    "SurfaceSize"};
  return names[kind];
}

struct DisplayFixture {
  FakeApp fake;
  TDisplayTestForm* form = nullptr;

  DisplayFixture() { form = fake.app->CreateForm<TDisplayTestForm>(); }
  void load(const std::string& text = kDisplayDescription) {
    form->LoadDescription(ParseDescription(text));
  }
  // Shows the window (the display starts) and brings the application to the front.
  void show() {
    form->Show();
    fake.events().pushFocus(form->Handle()->id(), true);
    fake.step(3);
  }
  TDXDraw* dxdraw() const { return dynamic_cast<TDXDraw*>(form->FindComponent("DXDraw")); }
  TDXImageList* images() const {
    return dynamic_cast<TDXImageList*>(form->FindComponent("ImageList"));
  }
  platform::FakeWindow* window() const { return fake.platform.findWindow(form->Handle()->id()); }
  // Records every notification the display sends to a handler registered now.
  void watch(const void* receiver) {
    dxdraw()->RegisterNotify(
        [this](TCustomDXDraw*, TDXDrawNotifyType kind) { form->Log.push_back(notifyName(kind)); },
        receiver);
  }
};
