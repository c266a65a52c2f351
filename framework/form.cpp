#include "framework/form.h"

#include <algorithm>

#include "framework/colors.h"
#include "framework/edit_control.h"
#include "framework/image_control.h"
#include "framework/utf8.h"

namespace {

uint32_t rgbOf(uint32_t color) {
  // 0x00BBGGRR to the window pixels' 0x00RRGGBB.
  return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

// The first character of a typed text.
char32_t firstCodePoint(const std::string& text) {
  size_t pos = 0;
  return text.empty() ? 0 : NextCodePoint(text, pos);
}

uint32_t downMessage(platform::MouseButton b) {
  return b == platform::MouseButton::Right    ? WM_RBUTTONDOWN
         : b == platform::MouseButton::Middle ? WM_MBUTTONDOWN
                                              : WM_LBUTTONDOWN;
}

uint32_t upMessage(platform::MouseButton b) {
  return b == platform::MouseButton::Right    ? WM_RBUTTONUP
         : b == platform::MouseButton::Middle ? WM_MBUTTONUP
                                              : WM_LBUTTONUP;
}

bool readFontProperty(platform::FontSpec& font, const std::string& name,
                      const TPropertyValue& value) {
  if (name == "Font.Name") {
    font.family = value.AsString(name);
  } else if (name == "Font.Height") {
    font.sizePoints = static_cast<double>(std::abs(value.AsInteger(name))) * 72.0 / 96.0;
  } else if (name == "Font.Size") {
    font.sizePoints = static_cast<double>(value.AsInteger(name));
  } else if (name == "Font.Color") {
    font.color = ColorValue(value, name);
  } else if (name == "Font.Style") {
    const auto& styles = value.AsSet(name);
    font.bold = std::find(styles.begin(), styles.end(), "fsBold") != styles.end();
    font.italic = std::find(styles.begin(), styles.end(), "fsItalic") != styles.end();
  } else if (name == "Font.Charset" || name == "Font.Pitch") {
    value.AsIdentifier(name);
  } else {
    return false;
  }
  return true;
}

}  // namespace

// Canvas of a form's own pixels.

TFormCanvas::TFormCanvas(platform::TextRenderer& text, int width, int height)
    : text_(text),
      width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0) {}

void TFormCanvas::FillRect(int left, int top, int right, int bottom, uint32_t color) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_);
  bottom = std::min(bottom, height_);
  const uint32_t rgb = rgbOf(color);
  for (int y = top; y < bottom; ++y) {
    std::fill(pixels_.begin() + std::ptrdiff_t{y} * width_ + left,
              pixels_.begin() + std::ptrdiff_t{y} * width_ + right, rgb);
  }
}

void TFormCanvas::FrameRect(int left, int top, int right, int bottom, uint32_t color) {
  FillRect(left, top, right, top + 1, color);
  FillRect(left, bottom - 1, right, bottom, color);
  FillRect(left, top, left + 1, bottom, color);
  FillRect(right - 1, top, right, bottom, color);
}

void TFormCanvas::TextOut(int x, int y, const std::string& text, const platform::FontSpec& font) {
  text_.drawText(pixels_.data(), width_, height_, width_ * 4, platform::PixelFormat::ARGB8888, x, y,
                 text, font);
}

void TFormCanvas::TextExtent(const std::string& text, const platform::FontSpec& font, int& width,
                             int& height) {
  text_.textExtent(text, font, width, height);
}

void TFormCanvas::Draw(int x, int y, const uint32_t* pixels, int width, int height) {
  for (int row = 0; row < height; ++row) {
    const int ty = y + row;
    if (ty < 0 || ty >= height_) continue;
    for (int col = 0; col < width; ++col) {
      const int tx = x + col;
      if (tx >= 0 && tx < width_)
        pixels_[static_cast<size_t>(ty) * width_ + tx] =
            pixels[static_cast<size_t>(row) * width + col];
    }
  }
}

// Controls.

TControl::TControl(TComponent* owner) : TComponent(owner) {}

void TControl::SetStoredProperty(const std::string& name, const TPropertyValue& value) {
  if (name == "Left") {
    Left = static_cast<int>(value.AsInteger(name));
  } else if (name == "Top") {
    Top = static_cast<int>(value.AsInteger(name));
  } else if (name == "Width") {
    Width = static_cast<int>(value.AsInteger(name));
  } else if (name == "Height") {
    Height = static_cast<int>(value.AsInteger(name));
  } else if (name == "Visible") {
    Visible = value.AsBoolean(name);
  } else if (name == "Enabled") {
    Enabled = value.AsBoolean(name);
  } else if (name == "TabOrder") {
    TabOrder = static_cast<int>(value.AsInteger(name));
  } else if (name == "Align") {
    const std::string& a = value.AsIdentifier(name);
    if (a == "alClient") {
      Align = TAlign::alClient;
    } else if (a == "alNone") {
      Align = TAlign::alNone;
    } else {
      throw EReadError(Format("Invalid property value for %s", name));
    }
  } else if (name == "Cursor") {
    Cursor = value.AsIdentifier(name) == "crNone" ? TCursor::crNone : TCursor::crDefault;
  } else if (name == "OnClick") {
    OnClick = MethodByName<TNotifyEvent>(name, value.AsIdentifier(name));
  } else if (name == "OnMouseDown") {
    OnMouseDown = MethodByName<TMouseEvent>(name, value.AsIdentifier(name));
  } else if (name == "OnMouseMove") {
    OnMouseMove = MethodByName<TMouseMoveEvent>(name, value.AsIdentifier(name));
  } else if (name == "OnMouseUp") {
    OnMouseUp = MethodByName<TMouseEvent>(name, value.AsIdentifier(name));
  } else {
    TComponent::SetStoredProperty(name, value);
  }
}

TForm* TControl::ParentForm() const {
  for (TComponent* c = Owner(); c != nullptr; c = c->Owner()) {
    if (auto* form = dynamic_cast<TForm*>(c)) return form;
  }
  return nullptr;
}

bool TControl::ContainsPoint(int x, int y) const {
  return x >= Left && y >= Top && x < Left + Width && y < Top + Height;
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::Invalidate() {
  if (TForm* form = ParentForm()) form->Repaint();
}

void TControl::Paint(TFormCanvas&) {}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
  if (x >= 0 && y >= 0 && x < Width && y < Height) Click();
}

void TControl::KeyDown(uint16_t&, TShiftState) {}
void TControl::KeyPress(char32_t&) {}

TLabel::TLabel(TComponent* owner) : TControl(owner) {}

void TLabel::SetStoredProperty(const std::string& name, const TPropertyValue& value) {
  if (name == "Caption") {
    Caption = value.AsString(name);
  } else if (name == "Transparent") {
    Transparent = value.AsBoolean(name);
  } else if (name == "ParentFont") {
    value.AsBoolean(name);
  } else if (!readFontProperty(Font, name, value)) {
    TControl::SetStoredProperty(name, value);
  }
}

void TLabel::Paint(TFormCanvas& canvas) { canvas.TextOut(Left, Top, Caption, Font); }

TButton::TButton(TComponent* owner) : TControl(owner) {}

void TButton::SetStoredProperty(const std::string& name, const TPropertyValue& value) {
  if (name == "Caption") {
    Caption = value.AsString(name);
  } else if (name == "ModalResult") {
    ModalResult = static_cast<int>(value.AsInteger(name));
  } else if (name == "Default") {
    Default = value.AsBoolean(name);
  } else if (name == "Cancel") {
    Cancel = value.AsBoolean(name);
  } else {
    TControl::SetStoredProperty(name, value);
  }
}

void TButton::Click() {
  TControl::Click();
  if (ModalResult != mrNone) {
    if (TForm* form = ParentForm()) form->ModalResult = ModalResult;
  }
}

void TButton::Paint(TFormCanvas& canvas) {
  const TForm* form = ParentForm();
  const bool focused = form != nullptr && form->ActiveControl == this;
  canvas.FillRect(Left, Top, Left + Width, Top + Height, clBtnFace);
  canvas.FrameRect(Left, Top, Left + Width, Top + Height, focused ? 0x00000000 : 0x00808080);
  if (focused) canvas.FrameRect(Left + 1, Top + 1, Left + Width - 1, Top + Height - 1, 0x00000000);
  platform::FontSpec font = form != nullptr ? form->Font : platform::FontSpec{};
  int w = 0;
  int h = 0;
  canvas.TextExtent(Caption, font, w, h);
  canvas.TextOut(Left + (Width - w) / 2, Top + (Height - h) / 2, Caption, font);
}

void TButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TControl::MouseDown(button, shift, x, y);
  if (TForm* form = ParentForm()) form->FocusControl(this);
}

void TButton::KeyDown(uint16_t& key, TShiftState) {
  if (key == 13 || key == 32) {
    key = 0;
    Click();
  }
}

void TBitBtn::SetStoredProperty(const std::string& name, const TPropertyValue& value) {
  if (name == "Kind" || name == "Glyph.Data" || name == "NumGlyphs") {
    return;  // the glyph of a bitmap button is never shown by this game
  }
  TButton::SetStoredProperty(name, value);
}

// Forms.

TForm::TForm(TComponent* owner) : TControl(owner) {
  WindowProc = [this](TMessage& message) { WndProc(message); };
}

TForm::~TForm() {
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (const std::exception&) {
      // A form that is going away has nobody left to tell.
    }
  }
  // The components go before the window they draw into.
  ComponentState |= csDestroying;
  DestroyComponents();
  if (Application != nullptr) {
    if (window_) Application->UnregisterWindow(window_->id());
    Application->FormDestroyed(this);
  }
}

void TForm::LoadDescription(const TDescriptionObject& description) {
  ReadDescription(description, *this, *this);
  CreateWindowHandle();
  DoCreate();
}

void TForm::DoCreate() {
  if (!OnCreate) return;
  try {
    OnCreate(this);
  } catch (const std::exception& e) {
    Application->HandleException(e);
  }
}

void TForm::SetStoredProperty(const std::string& name, const TPropertyValue& value) {
  if (name == "Caption") {
    caption_ = value.AsString(name);
  } else if (name == "ClientWidth") {
    ClientWidth = static_cast<int>(value.AsInteger(name));
  } else if (name == "ClientHeight") {
    ClientHeight = static_cast<int>(value.AsInteger(name));
  } else if (name == "KeyPreview") {
    KeyPreview = value.AsBoolean(name);
  } else if (name == "Scaled") {
    Scaled = value.AsBoolean(name);
  } else if (name == "Color") {
    Color = ColorValue(value, name);
  } else if (name == "BorderStyle") {
    const std::string& b = value.AsIdentifier(name);
    if (b == "bsNone") {
      BorderStyle = TBorderStyle::bsNone;
    } else if (b == "bsSingle") {
      BorderStyle = TBorderStyle::bsSingle;
    } else if (b == "bsDialog") {
      BorderStyle = TBorderStyle::bsDialog;
    } else if (b == "bsSizeable") {
      BorderStyle = TBorderStyle::bsSizeable;
    } else {
      throw EReadError(Format("Invalid property value for %s", name));
    }
  } else if (name == "Position") {
    Position = value.AsIdentifier(name) == "poScreenCenter" ? TPosition::poScreenCenter
                                                            : TPosition::poDesigned;
  } else if (name == "BorderIcons") {
    const auto& icons = value.AsSet(name);
    SystemMenu = std::find(icons.begin(), icons.end(), "biSystemMenu") != icons.end();
  } else if (name == "PixelsPerInch" || name == "TextHeight") {
    value.AsInteger(name);
  } else if (name == "OnCreate") {
    OnCreate = MethodByName<TNotifyEvent>(name, value.AsIdentifier(name));
  } else if (name == "OnShow") {
    OnShow = MethodByName<TNotifyEvent>(name, value.AsIdentifier(name));
  } else if (name == "OnActivate") {
    OnActivate = MethodByName<TNotifyEvent>(name, value.AsIdentifier(name));
  } else if (name == "OnDestroy") {
    OnDestroy = MethodByName<TNotifyEvent>(name, value.AsIdentifier(name));
  } else if (name == "OnKeyDown") {
    OnKeyDown = MethodByName<TKeyEvent>(name, value.AsIdentifier(name));
  } else if (name == "OnKeyPress") {
    OnKeyPress = MethodByName<TKeyPressEvent>(name, value.AsIdentifier(name));
  } else if (!readFontProperty(Font, name, value)) {
    TControl::SetStoredProperty(name, value);
  }
}

TComponent* TForm::CreateStoredComponent(const std::string& className, TComponent* parent) {
  TControl* control = nullptr;
  if (className == "TLabel") {
    control = CreateComponent<TLabel>();
  } else if (className == "TButton") {
    control = CreateComponent<TButton>();
  } else if (className == "TBitBtn") {
    control = CreateComponent<TBitBtn>();
  } else if (className == "TImage") {
    control = CreateComponent<TImage>();
  } else if (className == "TEdit") {
    control = CreateComponent<TEdit>();
  } else {
    return nullptr;
  }
  control->Parent = dynamic_cast<TControl*>(parent);
  AddControl(control);
  return control;
}

void TForm::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (window_) window_->setCaption(caption);
}

platform::WindowDesc TForm::WindowDescription() const {
  platform::WindowDesc desc;
  desc.caption = caption_;
  desc.width = ClientWidth > 0 ? ClientWidth : Width;
  desc.height = ClientHeight > 0 ? ClientHeight : Height;
  desc.bordered = BorderStyle != TBorderStyle::bsNone;
  desc.resizable = BorderStyle == TBorderStyle::bsSizeable;
  desc.centered = true;
  desc.visible = false;
  desc.titleButtons = SystemMenu;
  return desc;
}

void TForm::CreateWindowHandle() {
  if (window_) return;
  window_ = Application->Platform().createWindow(WindowDescription());
  Application->RegisterWindow(window_->id(), this);
}

void TForm::Show() {
  CreateWindowHandle();
  if (window_->visible()) return;
  static_assert(sizeof(int) >= 4);
  const bool first = !shownOnce_;
  shownOnce_ = true;
  if (OnShow) OnShow(this);
  window_->show();
  window_->raise();
  if (first) {
    // Copy: a control's first showing may create further controls.
    const std::vector<TControl*> controls = controls_;
    for (TControl* control : controls) control->FormFirstShown();
  }
  // The focus goes back to the control that had it, or to the first that can take it.
  if (ActiveControl != nullptr && ActiveControl->CanFocus()) {
    ActiveControl->Enter();
  } else {
    ActiveControl = nullptr;
    focusNext();
  }
  if (OnActivate) OnActivate(this);
  Repaint();
}

void TForm::Hide() {
  if (window_) window_->hide();
}

void TForm::Close() {
  if (modalDepth_ > 0) {
    if (ModalResult == mrNone) ModalResult = mrCancel;
    return;
  }
  Hide();
  if (Application != nullptr && Application->MainForm() == this) Application->Terminate();
}

int TForm::ShowModal() {
  ModalResult = mrNone;
  CreateWindowHandle();
  // A modal window belongs to the window it interrupts: the topmost modal one, else the
  // main window.
  TForm* owner =
      Application->ModalForm() != nullptr ? Application->ModalForm() : Application->MainForm();
  window_->setParent(owner != nullptr && owner != this ? owner->Handle() : nullptr);
  Show();
  ++modalDepth_;
  Application->PushModal(this);
  try {
    while (ModalResult == mrNone && !Application->Terminated()) Application->HandleMessage();
  } catch (...) {
    Application->PopModal(this);
    --modalDepth_;
    Hide();
    throw;
  }
  Application->PopModal(this);
  --modalDepth_;
  Hide();
  return ModalResult;
}

void TForm::Repaint() {
  if (selfPresenting_ || !window_ || !window_->visible()) return;
  TFormCanvas canvas(Application->Platform().text(), WindowDescription().width,
                     WindowDescription().height);
  canvas.FillRect(0, 0, canvas.Width(), canvas.Height(), Color);
  for (TControl* control : controls_) {
    if (control->Visible) control->Paint(canvas);
  }
  window_->present(canvas.Pixels(), canvas.Width(), canvas.Height(), canvas.Width() * 4,
                   platform::PixelFormat::ARGB8888, platform::PresentMode::Center, false);
}

void TForm::HandleEvent(const platform::Event& event) {
  using platform::EventKind;
  TMessage message;
  message.LParam = MakeMousePos(event.x, event.y);
  message.WParam = event.shift;
  switch (event.kind) {
    case EventKind::MouseMove:
      message.Msg = WM_MOUSEMOVE;
      break;
    case EventKind::MouseDown:
      message.Msg = downMessage(event.button);
      break;
    case EventKind::MouseUp:
      message.Msg = upMessage(event.button);
      break;
    case EventKind::KeyDown:
      message.Msg = WM_KEYDOWN;
      message.WParam = event.key;
      message.LParam = event.shift;
      break;
    case EventKind::KeyUp:
      message.Msg = WM_KEYUP;
      message.WParam = event.key;
      message.LParam = event.shift;
      break;
    case EventKind::Char:
      message.Msg = WM_CHAR;
      message.WParam = static_cast<int64_t>(firstCodePoint(event.text));
      break;
    case EventKind::FocusGained:
      message.Msg = WM_SETFOCUS;
      break;
    case EventKind::FocusLost:
      message.Msg = WM_KILLFOCUS;
      break;
    case EventKind::Close:
      message.Msg = WM_CLOSE;
      break;
    case EventKind::Expose:
      message.Msg = WM_PAINT;
      break;
    case EventKind::RenderReset:
      message.Msg = CM_RENDERRESET;
      break;
  }
  WindowProc(message);
}

void TForm::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      MouseMessage(message);
      break;
    case WM_KEYDOWN:
      KeyMessage(message);
      break;
    case WM_CHAR:
      CharMessage(message);
      break;
    case WM_SETFOCUS:
      if (OnActivate && window_ && window_->visible()) OnActivate(this);
      break;
    case WM_CLOSE:
      if (SystemMenu) Close();
      break;
    case WM_PAINT:
      Repaint();
      break;
    case CM_RENDERRESET:
      for (TControl* control : controls_) control->PresenterReset();
      break;
    default:
      break;
  }
}

TControl* TForm::controlAt(int x, int y) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (!c->Visible || !c->Enabled) continue;
    if (c->Align == TAlign::alClient || c->ContainsPoint(x, y)) return c;
  }
  return nullptr;
}

void TForm::MouseMessage(TMessage& message) {
  const int x = MouseX(message.LParam);
  const int y = MouseY(message.LParam);
  const TShiftState shift = static_cast<TShiftState>(message.WParam);
  TControl* target = captured_ != nullptr ? captured_ : controlAt(x, y);
  if (target == nullptr) return;
  if (window_) window_->setCursorVisible(target->Cursor != TCursor::crNone);
  const int lx = target->Align == TAlign::alClient ? x : x - target->Left;
  const int ly = target->Align == TAlign::alClient ? y : y - target->Top;
  const TMouseButton button =
      message.Msg == WM_RBUTTONDOWN || message.Msg == WM_RBUTTONUP   ? TMouseButton::mbRight
      : message.Msg == WM_MBUTTONDOWN || message.Msg == WM_MBUTTONUP ? TMouseButton::mbMiddle
                                                                     : TMouseButton::mbLeft;
  switch (message.Msg) {
    case WM_MOUSEMOVE:
      target->MouseMove(shift, lx, ly);
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      captured_ = target;
      target->MouseDown(button, shift, lx, ly);
      break;
    default:
      captured_ = nullptr;
      target->MouseUp(button, shift, lx, ly);
      break;
  }
  Repaint();
}

void TForm::KeyMessage(TMessage& message) {
  uint16_t key = static_cast<uint16_t>(message.WParam);
  const TShiftState shift = static_cast<TShiftState>(message.LParam);
  if (KeyPreview && OnKeyDown) OnKeyDown(this, key, shift);
  if (key == 0) return;
  if (key == 9) {  // Tab moves the focus
    focusNext();
    Repaint();
    return;
  }
  if (ActiveControl != nullptr && ActiveControl->Visible) ActiveControl->KeyDown(key, shift);
  if (key == 13) {
    Confirm();
  } else if (key == 27) {
    Cancel();
  }
  Repaint();
}

void TForm::Confirm() { clickButton(&TButton::Default); }

void TForm::Cancel() { clickButton(&TButton::Cancel); }

void TForm::clickButton(bool TButton::*role) {
  for (TControl* c : controls_) {
    auto* button = dynamic_cast<TButton*>(c);
    if (button != nullptr && button->Visible && button->*role) {
      button->Click();
      return;
    }
  }
}

void TForm::CharMessage(TMessage& message) {
  char32_t key = static_cast<char32_t>(message.WParam);
  if (KeyPreview && OnKeyPress) OnKeyPress(this, key);
  if (key != 0 && ActiveControl != nullptr && ActiveControl->Visible) ActiveControl->KeyPress(key);
  Repaint();
}

void TForm::focusNext() {
  std::vector<TControl*> focusable;
  for (TControl* c : controls_) {
    if (c->CanFocus()) focusable.push_back(c);
  }
  if (focusable.empty()) return;
  std::stable_sort(focusable.begin(), focusable.end(),
                   [](TControl* a, TControl* b) { return a->TabOrder < b->TabOrder; });
  auto it = std::find(focusable.begin(), focusable.end(), ActiveControl);
  FocusControl((it == focusable.end() || ++it == focusable.end()) ? focusable.front() : *it);
}

void TForm::FocusControl(TControl* control) {
  if (control == ActiveControl) return;
  ActiveControl = control;
  if (control != nullptr) control->Enter();
}
