#pragma once
// Forms and controls: top-level windows created from stored descriptions, the controls
// on them, painting into the window's own pixels, keyboard and pointer dispatch, and
// modal showing with a nested loop that keeps the idle processing going.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/component.h"
#include "framework/description.h"
#include "platform/platform.h"

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using TShiftState = uint32_t;  // platform::ssShift, ssAlt, ssCtrl, ssLeft, ...

using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;
// Key is the typed character's code point; set it to 0 to swallow it.
using TKeyPressEvent = std::function<void(TObject* Sender, char32_t& Key)>;

enum class TAlign { alNone, alClient };
enum class TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };
enum class TPosition { poDesigned, poScreenCenter };
enum class TCursor { crDefault, crNone };

class TForm;

// A 32-bit (0x00RRGGBB) pixel buffer the form's controls paint into.
class TFormCanvas {
 public:
  TFormCanvas(platform::TextRenderer& text, int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  uint32_t* Pixels() { return pixels_.data(); }
  const uint32_t* Pixels() const { return pixels_.data(); }
  // Colours are 0x00BBGGRR, the system's colour values.
  void FillRect(int left, int top, int right, int bottom, uint32_t color);
  void FrameRect(int left, int top, int right, int bottom, uint32_t color);
  void TextOut(int x, int y, const std::string& text, const platform::FontSpec& font);
  void TextExtent(const std::string& text, const platform::FontSpec& font, int& width, int& height);
  // Copies 0x00RRGGBB pixels (rows of width) with their top-left corner at (x, y), clipped.
  void Draw(int x, int y, const uint32_t* pixels, int width, int height);

 private:
  platform::TextRenderer& text_;
  int width_;
  int height_;
  std::vector<uint32_t> pixels_;
};

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* owner);
  std::string ClassName() const override { return "TControl"; }
  void SetStoredProperty(const std::string& name, const TPropertyValue& value) override;

  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  bool Visible = true;
  bool Enabled = true;
  TAlign Align = TAlign::alNone;
  int TabOrder = -1;
  TControl* Parent = nullptr;
  TCursor Cursor = TCursor::crDefault;
  TNotifyEvent OnClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;

  TForm* ParentForm() const;
  bool ContainsPoint(int x, int y) const;
  virtual void Click();
  void Invalidate();
  virtual bool CanFocus() const { return false; }
  // The control has just taken the keyboard focus.
  virtual void Enter() {}
  // Painting into the form's pixels; controls that present themselves paint nothing.
  virtual void Paint(TFormCanvas& canvas);
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void KeyDown(uint16_t& key, TShiftState shift);
  virtual void KeyPress(char32_t& key);
  // The form's window was shown for the first time (the display initializes here).
  virtual void FormFirstShown() {}
  // The presenter lost its textures; a control that presents itself rebuilds them.
  virtual void PresenterReset() {}
};

class TLabel : public TControl {
 public:
  explicit TLabel(TComponent* owner);
  std::string ClassName() const override { return "TLabel"; }
  void SetStoredProperty(const std::string& name, const TPropertyValue& value) override;
  void Paint(TFormCanvas& canvas) override;
  std::string Caption;
  platform::FontSpec Font;
  bool Transparent = true;
};

class TButton : public TControl {
 public:
  explicit TButton(TComponent* owner);
  std::string ClassName() const override { return "TButton"; }
  void SetStoredProperty(const std::string& name, const TPropertyValue& value) override;
  bool CanFocus() const override { return Visible && Enabled; }
  void Paint(TFormCanvas& canvas) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void Click() override;
  std::string Caption;
  int ModalResult = 0;
  bool Default = false;
  bool Cancel = false;
};

class TBitBtn : public TButton {
 public:
  using TButton::TButton;
  std::string ClassName() const override { return "TBitBtn"; }
  void SetStoredProperty(const std::string& name, const TPropertyValue& value) override;
};

inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;

class TForm : public TControl, public TComponentFactory {
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;
  std::string ClassName() const override { return "TForm"; }

  // Reads the stored description (csLoading meanwhile), gives every component
  // Loaded(), creates the window, then fires OnCreate. An exception from OnCreate is
  // shown by the application and creation goes on.
  void LoadDescription(const TDescriptionObject& description);
  void SetStoredProperty(const std::string& name, const TPropertyValue& value) override;
  TComponent* CreateStoredComponent(const std::string& className, TComponent* parent) override;

  std::string Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool KeyPreview = false;
  TBorderStyle BorderStyle = TBorderStyle::bsSizeable;
  TPosition Position = TPosition::poDesigned;
  int ClientWidth = 0;
  int ClientHeight = 0;
  platform::FontSpec Font;
  uint32_t Color = 0x00C8D0D4;  // the window system's button face
  bool Scaled = true;
  int ModalResult = mrNone;

  // Without the system menu the window has no close button, and a close request from the
  // window system is refused.
  bool SystemMenu = true;

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnDestroy;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;

  platform::Window* Handle() const { return window_.get(); }
  void Show();
  void Hide();
  // Closes the form: the main form ends the application's loop, a modal form its own.
  void Close();
  int ShowModal();
  bool Modal() const { return modalDepth_ > 0; }
  void Repaint();
  TControl* ActiveControl = nullptr;
  // Gives the keyboard focus to a control of this form.
  void FocusControl(TControl* control);
  // What Enter and Escape do when the focused control leaves them: by default a click
  // on the visible default or cancel button. Any other way of confirming or cancelling
  // (a game's pad) calls them too.
  virtual void Confirm();
  virtual void Cancel();

  // The message handler; TControlSubClass replaces WindowProc to see messages first.
  std::function<void(TMessage&)> WindowProc;
  virtual void WndProc(TMessage& message);
  // Events of this form's window, turned into messages and sent through WindowProc.
  void HandleEvent(const platform::Event& event);
  // The controls of the form in description order.
  const std::vector<TControl*>& Controls() const { return controls_; }
  void AddControl(TControl* control) { controls_.push_back(control); }
  // Set by a control that presents the window's pixels itself (the display component).
  void SetSelfPresenting(bool value) { selfPresenting_ = value; }
  // The window's size for newly created windows.
  virtual platform::WindowDesc WindowDescription() const;

 protected:
  virtual void DoCreate();
  void CreateWindowHandle();
  virtual void MouseMessage(TMessage& message);
  virtual void KeyMessage(TMessage& message);
  virtual void CharMessage(TMessage& message);

 private:
  TControl* controlAt(int x, int y) const;
  void focusNext();
  // Clicks the first visible button whose flag of that role is set.
  void clickButton(bool TButton::*role);

  std::string caption_;
  std::unique_ptr<platform::Window> window_;
  std::vector<TControl*> controls_;
  int modalDepth_ = 0;
  bool shownOnce_ = false;
  bool selfPresenting_ = false;
  TControl* captured_ = nullptr;
};
