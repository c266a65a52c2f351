#pragma once
// The sound component: it opens the sound device once its window's description has
// been read (carrying on silently when there is no device), and tells the components
// registered with it when the device comes, goes or must be restored.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/sound/direct_sound.h"
#include "framework/component.h"

class EDXSoundError : public Exception {
 public:
  using Exception::Exception;
};

inline constexpr const char* SSoundFormNotFound = "Form not found";
inline constexpr const char* SPrimaryBuffer = "Primary Buffer";

enum TDXSoundOption : uint32_t {
  soGlobalFocus = 1u << 0,
  soStickyFocus = 1u << 1,
  soExclusive = 1u << 2,
};
using TDXSoundOptions = uint32_t;

enum class TDXSoundNotifyType {
  dsntDestroying,
  dsntInitializing,
  dsntInitialize,
  dsntFinalize,
  dsntRestore
};

class TCustomDXSound;
using TDXSoundNotifyEvent =
    std::function<void(TCustomDXSound* Sender, TDXSoundNotifyType NotifyType)>;

// The device of a sound component: a lost buffer has the component restore them all.
class TDXSoundDirectSound : public TDirectSound {
 public:
  TDXSoundDirectSound(TCustomDXSound* dxSound, platform::AudioSystem& audio,
                      const std::optional<platform::AudioFormat>& format);
  void BuffersLost() override;
  bool Restoring() const { return restoring_; }

 private:
  TCustomDXSound* dxSound_;
  bool restoring_ = false;
};

class TCustomDXSound : public TComponent {
 public:
  explicit TCustomDXSound(TComponent* owner);
  // Finalizes, then tells the registered handlers that the component goes.
  ~TCustomDXSound() override;
  std::string ClassName() const override { return "TCustomDXSound"; }
  void SetStoredProperty(const std::string& name, const TPropertyValue& value) override;
  // Initializes when AutoInitialize is set; a missing device only leaves it silent.
  void Loaded() override;

  void Initialize();
  void Finalize();
  // While the component initializes, a handler that will prepare samples names their
  // format, so the device opens in it at once; the first format named counts.
  void PreferFormat(const platform::AudioFormat& format);
  void Restore();

  // A receiver registers one handler; registering again replaces it.
  void RegisterNotifyEvent(TObject* receiver, const TDXSoundNotifyEvent& handler);
  void UnRegisterNotifyEvent(TObject* receiver);

  bool AutoInitialize = true;
  TDXSoundOptions Options() const { return options_; }
  void SetOptions(TDXSoundOptions options);
  bool Initialized() const { return initialized_; }
  // The device and its primary buffer while initialized, else nullptr.
  TDXSoundDirectSound* DSound() const { return dsound_.get(); }
  TDirectSoundBuffer* Primary() const { return primary_.get(); }

  TNotifyEvent OnFinalize;
  TNotifyEvent OnInitialize;
  TNotifyEvent OnInitializing;
  TNotifyEvent OnRestore;

 private:
  void notify(TDXSoundNotifyType type);
  void applyOptions();
  uint32_t ownerWindowId() const;

  TDXSoundOptions options_ = 0;
  std::optional<platform::AudioFormat> preferredFormat_;
  std::unique_ptr<TDXSoundDirectSound> dsound_;
  std::unique_ptr<TDirectSoundBuffer> primary_;
  std::vector<std::pair<TObject*, TDXSoundNotifyEvent>> handlers_;
  bool created_ = false;
  bool initialized_ = false;
  bool finalizeDue_ = false;
};

class TDXSound : public TCustomDXSound {
 public:
  using TCustomDXSound::TCustomDXSound;
  std::string ClassName() const override { return "TDXSound"; }
};

// The wave list belongs with its sound component: whoever sees one sees both.
#include "engine/sound/wave_list.h"
