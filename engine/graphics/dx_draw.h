#pragma once
// The display component: the control that fills the main window, owns the display device
// through its presenter, gives the game a back surface to draw on, presents it once per
// frame, restores lost surfaces and tells registered components when surfaces appear,
// disappear or must be rebuilt.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "engine/graphics/dib.h"
#include "engine/graphics/direct_draw.h"
#include "engine/graphics/direct_draw_surface.h"
#include "engine/timer/control_subclass.h"
#include "engine/timer/direct_x.h"
#include "framework/form.h"

class EDXDrawError : public EDirectXError {
 public:
  using EDirectXError::EDirectXError;
};

inline constexpr const char* SDisplayModeChange = "Display mode cannot be changed (%dx%d %dbit)";
inline constexpr const char* SInvalidDisplayBitCount = "It should be either of 8 or 16 or 24 or 32";

enum TDXDrawOption : uint32_t {
  doFullScreen = 0,
  doNoWindowChange = 1,
  doAllowReboot = 2,
  doWaitVBlank = 3,
  doAllowPalette256 = 4,
  doSystemMemory = 5,
  doStretch = 6,
  doCenter = 7,
  doFlip = 8,
  do3D = 9,
  doDirectX7Mode = 10,
  doRetainedMode = 11,
  doHardware = 12,
  doSelectDriver = 13,
  doZBuffer = 14,
};

// A set of options, bit i for option i.
class TDXDrawOptions {
 public:
  constexpr TDXDrawOptions() = default;
  constexpr TDXDrawOptions(std::initializer_list<TDXDrawOption> options) {
    for (TDXDrawOption o : options) bits_ |= bit(o);
  }
  constexpr bool Contains(TDXDrawOption o) const { return (bits_ & bit(o)) != 0; }
  constexpr TDXDrawOptions& Include(TDXDrawOption o) {
    bits_ |= bit(o);
    return *this;
  }
  constexpr TDXDrawOptions& Exclude(TDXDrawOption o) {
    bits_ = static_cast<uint16_t>(bits_ & ~bit(o));
    return *this;
  }
  constexpr TDXDrawOptions operator+(const TDXDrawOptions& o) const {
    return fromBits(bits_ | o.bits_);
  }
  constexpr TDXDrawOptions operator*(const TDXDrawOptions& o) const {
    return fromBits(bits_ & o.bits_);
  }
  constexpr TDXDrawOptions operator-(const TDXDrawOptions& o) const {
    return fromBits(bits_ & ~o.bits_);
  }
  constexpr bool operator==(const TDXDrawOptions&) const = default;
  constexpr uint16_t Bits() const { return bits_; }
  static constexpr TDXDrawOptions fromBits(uint32_t bits) {
    TDXDrawOptions o;
    o.bits_ = static_cast<uint16_t>(bits);
    return o;
  }

 private:
  static constexpr uint16_t bit(TDXDrawOption o) { return static_cast<uint16_t>(1u << o); }
  uint16_t bits_ = 0;
};

// The option names as window descriptions store them, and back.
bool DXDrawOptionByName(const std::string& name, TDXDrawOption& option);

enum TDXDrawNotifyType {
  dxntDestroying = 0,
  dxntInitializing = 1,
  dxntInitialize = 2,
  dxntInitializeSurface = 3,
  dxntFinalize = 4,
  dxntFinalizeSurface = 5,
  dxntRestore = 6,
  dxntSurfaceSize = 7,
};
inline constexpr TDXDrawNotifyType NotifyDestroying = dxntDestroying;
inline constexpr TDXDrawNotifyType NotifyInitializing = dxntInitializing;
inline constexpr TDXDrawNotifyType NotifyInitialize = dxntInitialize;
inline constexpr TDXDrawNotifyType NotifyInitializeSurface = dxntInitializeSurface;
inline constexpr TDXDrawNotifyType NotifyFinalize = dxntFinalize;
inline constexpr TDXDrawNotifyType NotifyFinalizeSurface = dxntFinalizeSurface;
inline constexpr TDXDrawNotifyType NotifyRestore = dxntRestore;
inline constexpr TDXDrawNotifyType NotifySurfaceSize = dxntSurfaceSize;

// How the page is shown on a screen or in a window of another size.
enum class TDXDrawScaling {
  Center,   // a window shows it unscaled in its middle and grows to hold it; full screen
            // scales it as Fit does
  Fit,      // as large as it fits, aspect kept, black bars around
  Integer,  // by the largest whole factor that fits (pixel-exact), black bars around
};

class TCustomDXDraw;
using TDXDrawNotifyEvent = std::function<void(TCustomDXDraw* Sender, TDXDrawNotifyType NotifyType)>;

struct TDXDrawDisplayMode {
  int Width = 0;
  int Height = 0;
  int BitCount = 0;
  int Index = 0;
};

// The display mode the full-screen presenter asks for, and the search for the nearest
// mode the machine offers.
class TDXDrawDisplay {
 public:
  int Width() const { return width_; }
  int Height() const { return height_; }
  int BitCount() const { return bitCount_; }
  void SetWidth(int value) { width_ = value > 0 ? value : 0; }
  void SetHeight(int value) { height_ = value > 0 ? value : 0; }
  // 8, 16, 24 or 32; anything else raises EDirectDrawError.
  void SetBitCount(int value);
  bool FixedBitCount = true;
  bool FixedRatio = true;
  bool FixedSize = false;
  void Assign(const TDXDrawDisplay& other);

  // The machine's modes, sorted by width, height and bit count; read on first use.
  const std::vector<TDXDrawDisplayMode>& Modes();
  void ClearModes() {
    modes_.clear();
    modesRead_ = false;
  }
  // Replaces the machine's list (tests, and platforms that report none).
  void SetModes(std::vector<TDXDrawDisplayMode> modes);
  // Sets the mode, or the nearest qualifying one; false when none can be set.
  bool DynSetDisplayMode(int width, int height, int bitCount);

 private:
  bool trySetMode(int width, int height, int bitCount);

  int width_ = 640;
  int height_ = 480;
  int bitCount_ = 8;
  std::vector<TDXDrawDisplayMode> modes_;
  bool modesRead_ = false;
};

// A presenter: makes the device and the surfaces, and shows the back surface.
class TDXDrawDriver {
 public:
  explicit TDXDrawDriver(TCustomDXDraw* dxdraw);
  virtual ~TDXDrawDriver();
  TDXDrawDriver(const TDXDrawDriver&) = delete;
  TDXDrawDriver& operator=(const TDXDrawDriver&) = delete;

  TDirectDraw& DDraw() { return *ddraw_; }
  virtual void CreateSurfaces() = 0;
  virtual void Flip(bool waitVBlank) = 0;
  // Resizes the back surface; false when the presenter cannot.
  virtual bool SetSize(int width, int height) = 0;
  bool Restore();

 protected:
  // Shows the back surface in the form's window; a lost device marks the surfaces lost.
  void present(platform::PresentMode mode, bool vsync);
  void createPalette();

  TCustomDXDraw* dxdraw_;
  std::unique_ptr<TDirectDraw> ddraw_;
};

// The full-screen presenter: a borderless desktop-sized window showing the back surface
// scaled with its aspect kept.
class TDXDrawDriverFlip : public TDXDrawDriver {
 public:
  using TDXDrawDriver::TDXDrawDriver;
  void CreateSurfaces() override;
  void Flip(bool waitVBlank) override;
  bool SetSize(int, int) override { return false; }

 private:
  bool pageShown_ = false;  // a page has gone to the window since the surfaces were made
};

// The windowed presenter: the back surface copied into the window, centred or stretched.
class TDXDrawDriverBlt : public TDXDrawDriver {
 public:
  using TDXDrawDriver::TDXDrawDriver;
  void CreateSurfaces() override;
  void Flip(bool waitVBlank) override;
  bool SetSize(int width, int height) override;

 private:
  void createBackSurface(int width, int height);
};

class TCustomDXDraw : public TControl {
 public:
  explicit TCustomDXDraw(TComponent* owner);
  ~TCustomDXDraw() override;
  std::string ClassName() const override { return "TCustomDXDraw"; }
  void SetStoredProperty(const std::string& name, const TPropertyValue& value) override;
  void Loaded() override;

  void Initialize();
  void Finalize();
  void Restore();
  void Flip();
  bool CanDraw();
  void UpdatePalette();

  void RegisterNotify(const TDXDrawNotifyEvent& handler, const void* receiver);
  void UnregisterNotify(const void* receiver);
  void NotifyAll(TDXDrawNotifyType kind);

  bool Initialized() const { return initialized_; }
  bool Busy() const { return busy_; }
  // The back surface the game draws on; EDXDrawError when the display is not initialized.
  TDirectDrawSurface& Surface();
  TDirectDrawSurface* SurfacePtr() const { return surface_.get(); }
  TDirectDrawSurface* Primary() const { return primary_.get(); }
  TDirectDraw* DDraw() const;
  TDXDrawDriver* Presenter() const { return presenter_.get(); }
  TDirectDrawPalette* Palette() const { return palette_.get(); }
  TDirectDrawClipper* Clipper() const { return clipper_.get(); }

  const TDXDrawOptions& Options() const { return options_; }
  void SetOptions(const TDXDrawOptions& value);
  const TDXDrawOptions& EffectiveOptions() const { return effectiveOptions_; }
  TDXDrawDisplay& Display() { return display_; }
  void SetDisplay(const TDXDrawDisplay& value) { display_.Assign(value); }
  bool AutoInitialize = true;
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  uint32_t Color = 0x8000000F;  // the button face
  // Takes effect when the display next initializes.
  TDXDrawScaling Scaling = TDXDrawScaling::Center;

  int SurfaceWidth() const;
  int SurfaceHeight() const;
  void SetSurfaceWidth(int value) { SetSurfaceSize(value, SurfaceHeight()); }
  void SetSurfaceHeight(int value) { SetSurfaceSize(SurfaceWidth(), value); }
  void SetSurfaceSize(int width, int height);
  // With AutoSize, the back surface follows the control's size.
  void SetBounds(int left, int top, int width, int height);

  TRGBQuads ColorTable{};
  TRGBQuads DefaultColorTable{};

  TNotifyEvent OnInitializing;
  TNotifyEvent OnInitialize;
  TNotifyEvent OnInitializeSurface;
  TNotifyEvent OnFinalizeSurface;
  TNotifyEvent OnFinalize;
  TNotifyEvent OnRestoreSurface;

  // The form's window was shown for the first time: the display starts here.
  void FormFirstShown() override;
  // The platform lost the presenter's textures: every surface reports loss until restored.
  void PresenterReset() override;

 private:
  friend class TDXDrawDriver;
  friend class TDXDrawDriverFlip;
  friend class TDXDrawDriverBlt;

  struct NotifyEntry {
    TDXDrawNotifyEvent handler;
    const void* receiver;
  };

  void computeEffectiveOptions();
  bool checkLost();
  void loadPalette(const TRGBQuads& table);
  void formMessage(TMessage& message, const std::function<void(TMessage&)>& previous);
  void hookForm();
  platform::Window* window() const;

  TDXDrawOptions options_{doAllowReboot,  doWaitVBlank, doCenter,
                          doDirectX7Mode, doHardware,   doSelectDriver};
  TDXDrawOptions effectiveOptions_;
  TDXDrawDisplay display_;
  bool autoSize_ = true;
  bool initialized_ = false;
  bool busy_ = false;
  bool started_ = false;
  bool calledOnInitialize_ = false;
  bool calledOnInitializeSurface_ = false;
  bool initializeCalled_ = false;
  int restoreHold_ = 0;
  int storedWidth_ = 100;
  int storedHeight_ = 100;
  std::vector<NotifyEntry> notifyList_;
  std::unique_ptr<TDXDrawDriver> presenter_;
  std::unique_ptr<TDirectDrawSurface> primary_;
  std::unique_ptr<TDirectDrawSurface> surface_;
  std::unique_ptr<TDirectDrawClipper> clipper_;
  std::unique_ptr<TDirectDrawPalette> palette_;
  std::unique_ptr<TControlSubClass> formHook_;
};

class TDXDraw : public TCustomDXDraw {
 public:
  using TCustomDXDraw::TCustomDXDraw;
  std::string ClassName() const override { return "TDXDraw"; }
};

// The screen's system palette: the twenty fixed colours of a classic desktop at entries
// 0-9 and 246-255, zeros between.
TRGBQuads SystemPaletteColorTable();
