#include "engine/graphics/dx_draw.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <map>

#include "framework/application.h"
#include "framework/colors.h"

namespace {

// Runs a function when the scope ends, also when an exception leaves it.
template <typename F>
class ScopeExit {
 public:
  explicit ScopeExit(F f) : f_(std::move(f)) {}
  ~ScopeExit() { f_(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  F f_;
};

const std::map<std::string, TDXDrawOption>& optionNames() {
  static const std::map<std::string, TDXDrawOption> kNames = {
      {"doFullScreen", doFullScreen},
      {"doNoWindowChange", doNoWindowChange},
      {"doAllowReboot", doAllowReboot},
      {"doWaitVBlank", doWaitVBlank},
      {"doAllowPalette256", doAllowPalette256},
      {"doSystemMemory", doSystemMemory},
      {"doStretch", doStretch},
      {"doCenter", doCenter},
      {"doFlip", doFlip},
      {"do3D", do3D},
      {"doDirectX7Mode", doDirectX7Mode},
      {"doRetainedMode", doRetainedMode},
      {"doHardware", doHardware},
      {"doSelectDriver", doSelectDriver},
      {"doZBuffer", doZBuffer},
  };
  return kNames;
}

bool validBitCount(int bitCount) {
  return bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
}

platform::PresentMode fullScreenMode(TDXDrawScaling scaling) {
  return scaling == TDXDrawScaling::Integer ? platform::PresentMode::IntegerScale
                                            : platform::PresentMode::FitKeepAspect;
}

platform::PresentMode windowedMode(const TDXDrawOptions& options, TDXDrawScaling scaling) {
  if (options.Contains(doStretch)) return platform::PresentMode::Stretch;
  return scaling == TDXDrawScaling::Center ? platform::PresentMode::Center
                                           : fullScreenMode(scaling);
}

}  // namespace

bool DXDrawOptionByName(const std::string& name, TDXDrawOption& option) {
  auto it = optionNames().find(name);
  if (it == optionNames().end()) return false;
  option = it->second;
  return true;
}

TRGBQuads SystemPaletteColorTable() {
  static constexpr uint8_t kLow[10][3] = {
      {0, 0, 0},     {128, 0, 0},   {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
      {128, 0, 128}, {0, 128, 128}, {192, 192, 192}, {192, 220, 192}, {166, 202, 240}};
  static constexpr uint8_t kHigh[10][3] = {
      {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},   {0, 255, 0},
      {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255}, {255, 255, 255}};
  TRGBQuads table{};
  for (int i = 0; i < 10; ++i) {
    table[static_cast<size_t>(i)] = TRGBQuad{kLow[i][2], kLow[i][1], kLow[i][0], 0};
    table[246 + static_cast<size_t>(i)] = TRGBQuad{kHigh[i][2], kHigh[i][1], kHigh[i][0], 0};
  }
  return table;
}

// Display settings and modes.

void TDXDrawDisplay::SetBitCount(int value) {
  if (!validBitCount(value)) throw EDirectDrawError(SInvalidDisplayBitCount);
  bitCount_ = value;
}

void TDXDrawDisplay::Assign(const TDXDrawDisplay& other) {
  width_ = other.width_;
  height_ = other.height_;
  bitCount_ = other.bitCount_;
  FixedBitCount = other.FixedBitCount;
  FixedRatio = other.FixedRatio;
  FixedSize = other.FixedSize;
}

void TDXDrawDisplay::SetModes(std::vector<TDXDrawDisplayMode> modes) {
  std::sort(modes.begin(), modes.end(),
            [](const TDXDrawDisplayMode& a, const TDXDrawDisplayMode& b) {
              if (a.Width != b.Width) return a.Width < b.Width;
              if (a.Height != b.Height) return a.Height < b.Height;
              return a.BitCount < b.BitCount;
            });
  for (size_t i = 0; i < modes.size(); ++i) modes[i].Index = static_cast<int>(i);
  modes_ = std::move(modes);
  modesRead_ = true;
}

const std::vector<TDXDrawDisplayMode>& TDXDrawDisplay::Modes() {
  if (!modesRead_ && Application != nullptr) {
    // The presenter converts the back surface to whatever the desktop shows, so every
    // size the machine reports is offered at each depth the game may ask for.
    std::vector<TDXDrawDisplayMode> modes;
    for (const platform::DisplayMode& m : Application->Platform().displayModes()) {
      for (int bitCount : {16, 24, 32}) {
        const bool known =
            std::any_of(modes.begin(), modes.end(), [&](const TDXDrawDisplayMode& x) {
              return x.Width == m.width && x.Height == m.height && x.BitCount == bitCount;
            });
        if (!known && m.width > 0 && m.height > 0)
          modes.push_back({m.width, m.height, bitCount, 0});
      }
    }
    SetModes(std::move(modes));
  }
  return modes_;
}

bool TDXDrawDisplay::trySetMode(int width, int height, int bitCount) {
  // The monitor's mode is left alone: the page is scaled onto the desktop, so any mode
  // of a sensible depth can be shown wherever there is a desktop, and one the machine
  // lists can be shown anyway.
  bool ok =
      bitCount >= 16 && Application != nullptr && Application->Platform().desktopMode().width > 0;
  if (!ok) {
    for (const TDXDrawDisplayMode& m : Modes()) {
      if (m.Width == width && m.Height == height && m.BitCount == bitCount) ok = true;
    }
  }
  if (ok) {
    width_ = width;
    height_ = height;
    bitCount_ = bitCount;
  }
  return ok;
}

bool TDXDrawDisplay::DynSetDisplayMode(int width, int height, int bitCount) {
  if (width <= 0 || height <= 0 || !validBitCount(bitCount)) return false;
  if (trySetMode(width, height, bitCount)) return true;
  const TDXDrawDisplayMode* best = nullptr;
  auto search = [&](bool sameRatio) {
    for (const TDXDrawDisplayMode& m : Modes()) {
      if (sameRatio && int64_t{m.Width} * height != int64_t{m.Height} * width) continue;
      if (best != nullptr && (m.Width > best->Width || m.Height > best->Height)) continue;
      if (FixedSize ? (m.Width != width || m.Height != height)
                    : (m.Width < width || m.Height < height)) {
        continue;
      }
      if (FixedBitCount ? m.BitCount != bitCount
                        : !((m.BitCount > 8 && bitCount > 8) || m.BitCount >= bitCount)) {
        continue;
      }
      best = &m;
    }
  };
  if (FixedRatio) search(true);
  if (best == nullptr) search(false);
  if (best == nullptr) return false;
  int chosenBitCount = best->BitCount;
  if (chosenBitCount != bitCount) {
    for (const TDXDrawDisplayMode& m : Modes()) {
      if (m.Width == best->Width && m.Height == best->Height && m.BitCount == bitCount) {
        chosenBitCount = bitCount;
      }
    }
  }
  return trySetMode(best->Width, best->Height, chosenBitCount);
}

// Presenters.

TDXDrawDriver::TDXDrawDriver(TCustomDXDraw* dxdraw) : dxdraw_(dxdraw) {
  platform::TextRenderer* text = Application != nullptr ? &Application->Platform().text() : nullptr;
  const bool trueColor = dxdraw->EffectiveOptions().Contains(doFullScreen) &&
                         (dxdraw->Display().BitCount() == 24 || dxdraw->Display().BitCount() == 32);
  ddraw_ = std::make_unique<TDirectDraw>(text, trueColor ? PixelFormat888(32) : PixelFormat565());
}

TDXDrawDriver::~TDXDrawDriver() = default;

bool TDXDrawDriver::Restore() {
  TDirectDrawSurface* primary = dxdraw_->primary_.get();
  TDirectDrawSurface* surface = dxdraw_->surface_.get();
  if (primary == nullptr || surface == nullptr) return false;
  if (!primary->RestoreLost() || !surface->RestoreLost()) return false;
  primary->Fill(0);
  surface->Fill(0);
  return true;
}

void TDXDrawDriver::present(platform::PresentMode mode, bool vsync) {
  platform::Window* window = dxdraw_->window();
  TDirectDrawSurface* surface = dxdraw_->surface_.get();
  if (window == nullptr || surface == nullptr || !surface->HasSurface()) return;
  TSurfaceMemory& memory = surface->ISurface();
  const platform::PixelFormat format = memory.Format.BitCount == 16
                                           ? platform::PixelFormat::RGB565
                                           : platform::PixelFormat::ARGB8888;
  if (!window->present(memory.Pixels.data(), memory.Width, memory.Height, memory.Pitch, format,
                       mode, vsync)) {
    ddraw_->MarkSurfacesLost();
  }
}

void TDXDrawDriver::createPalette() {
  dxdraw_->palette_ = std::make_unique<TDirectDrawPalette>(ddraw_.get());
  dxdraw_->loadPalette(dxdraw_->ColorTable);
}

void TDXDrawDriverFlip::CreateSurfaces() {
  const int width = dxdraw_->Display().Width();
  const int height = dxdraw_->Display().Height();
  auto primary = std::make_unique<TDirectDrawSurface>(ddraw_.get());
  auto back = std::make_unique<TDirectDrawSurface>(ddraw_.get());
  auto primaryMemory = ddraw_->CreateSurfaceMemory(width, height, false);
  auto backMemory = ddraw_->CreateSurfaceMemory(width, height, false);
  if (!backMemory) backMemory = ddraw_->CreateSurfaceMemory(width, height, true);
  if (!primaryMemory || !backMemory) {
    throw EDXDrawError(Format(SCannotMadeSurface, "Primary Surface"));
  }
  primary->SetISurface(std::move(primaryMemory));
  back->SetISurface(std::move(backMemory));
  if (back->ISurface().SystemMemory) {
    back->SystemMemory = true;
    dxdraw_->effectiveOptions_.Include(doSystemMemory);
  }
  dxdraw_->primary_ = std::move(primary);
  dxdraw_->surface_ = std::move(back);
  dxdraw_->clipper_ = std::make_unique<TDirectDrawClipper>(ddraw_.get());
  createPalette();
  dxdraw_->primary_->SetPalette(dxdraw_->palette_.get());
  dxdraw_->surface_->SetPalette(dxdraw_->palette_.get());
  if (platform::Window* window = dxdraw_->window()) {
    window->setFullscreen(true);
    window->setLogicalSize(width, height, fullScreenMode(dxdraw_->Scaling));
  }
}

void TDXDrawDriverFlip::Flip(bool waitVBlank) {
  // A full-screen page of an inactive game is not shown; that is not a failure. The frame
  // still takes its refresh, so a game in the background does not spin a core. The first
  // page goes out regardless: a window system that shows a window only once it has a
  // picture (Wayland) gives it the keyboard only after that, so a game waiting to be in
  // front would never be seen.
  if (pageShown_ && Application != nullptr && !Application->Active()) {
    if (platform::Window* window = dxdraw_->window()) window->skipFrame(waitVBlank);
    return;
  }
  pageShown_ = true;
  present(fullScreenMode(dxdraw_->Scaling), waitVBlank);
  TDirectDrawSurface* primary = dxdraw_->primary_.get();
  TDirectDrawSurface* back = dxdraw_->surface_.get();
  if (primary->HasSurface() && back->HasSurface()) {
    std::vector<uint8_t>& shown = primary->ISurface().Pixels;
    const std::vector<uint8_t>& drawn = back->ISurface().Pixels;
    // Pages of one size are copied in place, without a new allocation each frame.
    if (shown.size() == drawn.size()) {
      if (!drawn.empty()) std::memcpy(shown.data(), drawn.data(), drawn.size());
    } else {
      shown = drawn;
    }
  }
}

void TDXDrawDriverBlt::createBackSurface(int width, int height) {
  auto back = std::make_unique<TDirectDrawSurface>(ddraw_.get());
  back->SystemMemory = dxdraw_->EffectiveOptions().Contains(doSystemMemory);
  try {
    back->SetSize(std::max(width, 1), std::max(height, 1));
  } catch (const EDirectDrawSurfaceError&) {
    throw EDXDrawError(Format(SCannotMadeSurface, "Surface"));
  }
  if (back->SystemMemory) dxdraw_->effectiveOptions_.Include(doSystemMemory);
  back->SetPalette(dxdraw_->palette_.get());
  back->Fill(0);
  dxdraw_->surface_ = std::move(back);
}

void TDXDrawDriverBlt::CreateSurfaces() {
  auto primary = std::make_unique<TDirectDrawSurface>(ddraw_.get());
  auto memory =
      ddraw_->CreateSurfaceMemory(std::max(dxdraw_->Width, 1), std::max(dxdraw_->Height, 1), false);
  if (!memory) throw EDXDrawError(Format(SCannotMadeSurface, "Primary Surface"));
  primary->SetISurface(std::move(memory));
  dxdraw_->primary_ = std::move(primary);
  dxdraw_->clipper_ = std::make_unique<TDirectDrawClipper>(ddraw_.get());
  dxdraw_->clipper_->SetClipRect(dxdraw_->primary_->ClipRect());
  dxdraw_->primary_->SetClipper(dxdraw_->clipper_.get());
  createPalette();
  dxdraw_->primary_->SetPalette(dxdraw_->palette_.get());
  createBackSurface(dxdraw_->storedWidth_, dxdraw_->storedHeight_);
  if (platform::Window* window = dxdraw_->window()) {
    window->setFullscreen(false);
    // A window smaller than an unscaled page would show only its middle: it grows to the
    // page.
    const platform::Placement client = window->placement();
    const int width = dxdraw_->surface_->Width();
    const int height = dxdraw_->surface_->Height();
    const platform::PresentMode mode = windowedMode(dxdraw_->EffectiveOptions(), dxdraw_->Scaling);
    if (mode == platform::PresentMode::Center && (client.width < width || client.height < height)) {
      window->setClientSize(std::max(client.width, width), std::max(client.height, height));
    }
    window->setLogicalSize(width, height, mode);
  }
}

void TDXDrawDriverBlt::Flip(bool waitVBlank) {
  present(windowedMode(dxdraw_->EffectiveOptions(), dxdraw_->Scaling), waitVBlank);
}

bool TDXDrawDriverBlt::SetSize(int width, int height) {
  TCustomDXDraw& d = *dxdraw_;
  ++d.restoreHold_;
  ScopeExit release([&] { --d.restoreHold_; });
  d.NotifyAll(NotifyFinalizeSurface);
  if (d.calledOnInitializeSurface_) {
    d.calledOnInitializeSurface_ = false;
    if (d.OnFinalizeSurface) d.OnFinalizeSurface(&d);
  }
  createBackSurface(width, height);
  if (platform::Window* window = d.window()) {
    window->setLogicalSize(d.surface_->Width(), d.surface_->Height(),
                           windowedMode(d.EffectiveOptions(), d.Scaling));
  }
  d.NotifyAll(NotifyInitializeSurface);
  d.calledOnInitializeSurface_ = true;
  if (d.OnInitializeSurface) d.OnInitializeSurface(&d);
  return true;
}

// The display component.

TCustomDXDraw::TCustomDXDraw(TComponent* owner) : TControl(owner) {
  Width = 100;
  Height = 100;
  ColorTable = SystemPaletteColorTable();
  DefaultColorTable = ColorTable;
  computeEffectiveOptions();
  hookForm();
}

TCustomDXDraw::~TCustomDXDraw() {
  try {
    Finalize();
  } catch (const std::exception&) {
    // Nothing is left to report a failure of the last finalization to.
  }
  NotifyAll(NotifyDestroying);
  notifyList_.clear();
  formHook_.reset();
}

void TCustomDXDraw::hookForm() {
  TForm* form = ParentForm();
  if (form == nullptr || formHook_) return;
  form->SetSelfPresenting(true);
  formHook_ = std::make_unique<TControlSubClass>(
      form, [this](TMessage& message, const std::function<void(TMessage&)>& previous) {
        formMessage(message, previous);
      });
}

platform::Window* TCustomDXDraw::window() const {
  TForm* form = ParentForm();
  return form != nullptr ? form->Handle() : nullptr;
}

void TCustomDXDraw::formMessage(TMessage& message, const std::function<void(TMessage&)>& previous) {
  if (previous) previous(message);
  if (message.Msg == WM_PAINT && initialized_ && !busy_ && presenter_ && surface_) {
    // A paint request shows the page again, without waiting for the vertical blank.
    presenter_->Flip(false);
  }
}

void TCustomDXDraw::SetStoredProperty(const std::string& name, const TPropertyValue& value) {
  if (name == "AutoInitialize") {
    AutoInitialize = value.AsBoolean(name);
  } else if (name == "AutoSize") {
    SetAutoSize(value.AsBoolean(name));
  } else if (name == "Color") {
    Color = ColorValue(value, name);
  } else if (name == "Display.Width") {
    display_.SetWidth(static_cast<int>(value.AsInteger(name)));
  } else if (name == "Display.Height") {
    display_.SetHeight(static_cast<int>(value.AsInteger(name)));
  } else if (name == "Display.BitCount") {
    display_.SetBitCount(static_cast<int>(value.AsInteger(name)));
  } else if (name == "Display.FixedBitCount") {
    display_.FixedBitCount = value.AsBoolean(name);
  } else if (name == "Display.FixedRatio") {
    display_.FixedRatio = value.AsBoolean(name);
  } else if (name == "Display.FixedSize") {
    display_.FixedSize = value.AsBoolean(name);
  } else if (name == "Options") {
    TDXDrawOptions options;
    for (const std::string& member : value.AsSet(name)) {
      TDXDrawOption option;
      if (!DXDrawOptionByName(member, option)) {
        throw EReadError(Format("Invalid property value for %s", name));
      }
      options.Include(option);
    }
    SetOptions(options);
  } else if (name == "SurfaceWidth") {
    storedWidth_ = static_cast<int>(value.AsInteger(name));
  } else if (name == "SurfaceHeight") {
    storedHeight_ = static_cast<int>(value.AsInteger(name));
  } else if (name == "OnInitializing") {
    OnInitializing = MethodByName<TNotifyEvent>(name, value.AsIdentifier(name));
  } else if (name == "OnInitialize") {
    OnInitialize = MethodByName<TNotifyEvent>(name, value.AsIdentifier(name));
  } else if (name == "OnInitializeSurface") {
    OnInitializeSurface = MethodByName<TNotifyEvent>(name, value.AsIdentifier(name));
  } else if (name == "OnFinalizeSurface") {
    OnFinalizeSurface = MethodByName<TNotifyEvent>(name, value.AsIdentifier(name));
  } else if (name == "OnFinalize") {
    OnFinalize = MethodByName<TNotifyEvent>(name, value.AsIdentifier(name));
  } else if (name == "OnRestoreSurface") {
    OnRestoreSurface = MethodByName<TNotifyEvent>(name, value.AsIdentifier(name));
  } else {
    TControl::SetStoredProperty(name, value);
  }
}

void TCustomDXDraw::Loaded() {
  TControl::Loaded();
  hookForm();
  // The form starts its controls' displays when it is first shown.
  if (TForm* form = ParentForm()) {
    const auto& controls = form->Controls();
    if (std::find(controls.begin(), controls.end(), this) == controls.end()) form->AddControl(this);
  }
}

void TCustomDXDraw::SetAutoSize(bool value) {
  autoSize_ = value;
  if (autoSize_ && !Loading()) SetSurfaceSize(Width, Height);
}

void TCustomDXDraw::SetBounds(int left, int top, int width, int height) {
  Left = left;
  Top = top;
  Width = width;
  Height = height;
  if (autoSize_ && !busy_ && !Loading()) SetSurfaceSize(width, height);
}

TDirectDraw* TCustomDXDraw::DDraw() const { return presenter_ ? &presenter_->DDraw() : nullptr; }

TDirectDrawSurface& TCustomDXDraw::Surface() {
  if (!surface_) throw EDXDrawError(Format(SNotMade, "IDirectDrawSurface"));
  return *surface_;
}

int TCustomDXDraw::SurfaceWidth() const { return surface_ ? surface_->Width() : storedWidth_; }
int TCustomDXDraw::SurfaceHeight() const { return surface_ ? surface_->Height() : storedHeight_; }

void TCustomDXDraw::SetSurfaceSize(int width, int height) {
  if (Loading()) {
    storedWidth_ = width;
    storedHeight_ = height;
    return;
  }
  if ((width == SurfaceWidth() && height == SurfaceHeight()) || busy_) return;
  if (initialized_) {
    try {
      if (!presenter_->SetSize(width, height)) return;
    } catch (...) {
      Finalize();
      throw;
    }
  } else {
    storedWidth_ = width;
    storedHeight_ = height;
  }
  NotifyAll(NotifySurfaceSize);
}

void TCustomDXDraw::computeEffectiveOptions() {
  TDXDrawOptions e = options_;
  if (!e.Contains(doFullScreen)) {
    e = e - TDXDrawOptions{doNoWindowChange, doAllowReboot, doAllowPalette256, doFlip};
  }
  if (!e.Contains(do3D)) {
    e = e - TDXDrawOptions{doDirectX7Mode, doRetainedMode, doHardware, doSelectDriver, doZBuffer};
  }
  if (e.Contains(doSystemMemory)) e.Exclude(doFlip);
  if (e.Contains(doDirectX7Mode)) e.Exclude(doRetainedMode);
  e.Exclude(doHardware);
  effectiveOptions_ = e;
}

void TCustomDXDraw::SetOptions(const TDXDrawOptions& value) {
  options_ = value;
  if (initialized_) {
    const TDXDrawOptions live{doWaitVBlank, doStretch, doCenter};
    const bool had3D = effectiveOptions_.Contains(do3D);
    TDXDrawOptions e = (value * live) + (effectiveOptions_ - live);
    if (!had3D) e = e - TDXDrawOptions{doRetainedMode, doHardware, doSelectDriver, doZBuffer};
    effectiveOptions_ = e;
    if (presenter_ && surface_ && !effectiveOptions_.Contains(doFlip)) {
      if (platform::Window* w = window()) {
        w->setLogicalSize(surface_->Width(), surface_->Height(),
                          windowedMode(effectiveOptions_, Scaling));
      }
    }
  } else {
    computeEffectiveOptions();
  }
}

void TCustomDXDraw::FormFirstShown() {
  if (!AutoInitialize || initializeCalled_) return;
  try {
    Initialize();
  } catch (const std::exception& e) {
    if (Application == nullptr) throw;
    Application->HandleException(e);
  }
}

void TCustomDXDraw::PresenterReset() {
  if (presenter_) presenter_->DDraw().MarkSurfacesLost();
}

void TCustomDXDraw::Initialize() {
  initializeCalled_ = true;
  Finalize();
  if (ParentForm() == nullptr) throw EDXDrawError(SFormNotFound);
  try {
    if (OnInitializing) OnInitializing(this);
    busy_ = true;
    started_ = true;
    NotifyAll(NotifyInitializing);
    if (effectiveOptions_.Contains(doFlip)) {
      presenter_ = std::make_unique<TDXDrawDriverFlip>(this);
    } else {
      presenter_ = std::make_unique<TDXDrawDriverBlt>(this);
    }
    if (effectiveOptions_.Contains(doFullScreen) &&
        !display_.DynSetDisplayMode(display_.Width(), display_.Height(), display_.BitCount())) {
      throw EDXDrawError(
          Format(SDisplayModeChange, display_.Width(), display_.Height(), display_.BitCount()));
    }
    if (autoSize_) {
      storedWidth_ = Width;
      storedHeight_ = Height;
    }
    presenter_->CreateSurfaces();
    busy_ = false;
    initialized_ = true;
  } catch (...) {
    busy_ = false;
    Finalize();
    throw;
  }
  {
    ++restoreHold_;
    ScopeExit release([this] { --restoreHold_; });
    NotifyAll(NotifySurfaceSize);
    NotifyAll(NotifyInitialize);
    calledOnInitialize_ = true;
    if (OnInitialize) OnInitialize(this);
    NotifyAll(NotifyInitializeSurface);
    calledOnInitializeSurface_ = true;
    if (OnInitializeSurface) OnInitializeSurface(this);
  }
  Restore();
}

void TCustomDXDraw::Finalize() {
  if (!started_) return;
  if (surface_) {
    storedWidth_ = surface_->Width();
    storedHeight_ = surface_->Height();
  }
  display_.ClearModes();
  busy_ = true;
  // Every step runs even when an earlier one fails; the first failure is raised at the
  // end, with the component finalized.
  std::exception_ptr failure;
  auto step = [&failure](const std::function<void()>& f) {
    try {
      f();
    } catch (...) {
      if (!failure) failure = std::current_exception();
    }
  };
  step([this] {
    if (calledOnInitializeSurface_) {
      calledOnInitializeSurface_ = false;
      if (OnFinalizeSurface) OnFinalizeSurface(this);
    }
  });
  step([this] { NotifyAll(NotifyFinalizeSurface); });
  step([this] {
    if (calledOnInitialize_) {
      calledOnInitialize_ = false;
      if (OnFinalize) OnFinalize(this);
    }
  });
  step([this] { NotifyAll(NotifyFinalize); });
  started_ = false;
  initialized_ = false;
  computeEffectiveOptions();
  // The presenter's objects go in the order clipper, palette, back surface, primary
  // surface, device.
  clipper_.reset();
  palette_.reset();
  surface_.reset();
  primary_.reset();
  presenter_.reset();
  busy_ = false;
  if (failure) std::rethrow_exception(failure);
}

void TCustomDXDraw::Restore() {
  if (!initialized_ || busy_) return;
  busy_ = true;
  ScopeExit release([this] { busy_ = false; });
  if (!presenter_->Restore()) return;
  if (palette_) {
    primary_->SetPalette(palette_.get());
    surface_->SetPalette(palette_.get());
  }
  loadPalette(DefaultColorTable);
  NotifyAll(NotifyRestore);
  if (OnRestoreSurface) OnRestoreSurface(this);
  loadPalette(ColorTable);
}

bool TCustomDXDraw::checkLost() {
  if (!initialized_ || busy_ || !primary_) return false;
  auto lost = [this] { return primary_->IsLost() || (surface_ && surface_->IsLost()); };
  if (!lost()) return true;
  Restore();
  return !lost();
}

bool TCustomDXDraw::CanDraw() { return initialized_ && !busy_ && surface_ && checkLost(); }

void TCustomDXDraw::Flip() {
  if (!initialized_ || busy_ || !checkLost()) return;
  presenter_->Flip(effectiveOptions_.Contains(doWaitVBlank));
}

void TCustomDXDraw::loadPalette(const TRGBQuads& table) {
  if (!palette_) return;
  const TRGBQuads system = SystemPaletteColorTable();
  const bool all = effectiveOptions_.Contains(doAllowPalette256);
  TPaletteEntry32 entries[256];
  for (int i = 0; i < 256; ++i) {
    const TRGBQuad& q = (!all && (i < 10 || i >= 246)) ? system[static_cast<size_t>(i)]
                                                       : table[static_cast<size_t>(i)];
    entries[i] = TPaletteEntry32{q.rgbRed, q.rgbGreen, q.rgbBlue, 0x40};
  }
  palette_->SetEntries(0, entries, 256);
}

void TCustomDXDraw::UpdatePalette() {
  if (initialized_ && palette_) loadPalette(ColorTable);
}

void TCustomDXDraw::RegisterNotify(const TDXDrawNotifyEvent& handler, const void* receiver) {
  UnregisterNotify(receiver);
  notifyList_.push_back(NotifyEntry{handler, receiver});
  handler(this, NotifySurfaceSize);
  if (initialized_) {
    handler(this, NotifyInitialize);
    if (calledOnInitializeSurface_) handler(this, NotifyInitializeSurface);
    if (restoreHold_ == 0) handler(this, NotifyRestore);
  }
}

void TCustomDXDraw::UnregisterNotify(const void* receiver) {
  auto it = std::find_if(notifyList_.begin(), notifyList_.end(),
                         [receiver](const NotifyEntry& e) { return e.receiver == receiver; });
  if (it == notifyList_.end()) return;
  const TDXDrawNotifyEvent handler = it->handler;
  notifyList_.erase(it);
  if (calledOnInitializeSurface_) handler(this, NotifyFinalizeSurface);
  if (initialized_) handler(this, NotifyFinalize);
}

void TCustomDXDraw::NotifyAll(TDXDrawNotifyType kind) {
  // A handler may unregister others (or itself): each one still registered is called,
  // the last registered first.
  const std::vector<NotifyEntry> entries = notifyList_;
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    const bool registered =
        std::any_of(notifyList_.begin(), notifyList_.end(),
                    [&](const NotifyEntry& e) { return e.receiver == it->receiver; });
    if (registered) it->handler(this, kind);
  }
}
