#include "engine/sound/dx_sound.h"

#include <algorithm>

#include "framework/application.h"
#include "framework/form.h"

// The component's device.

TDXSoundDirectSound::TDXSoundDirectSound(TCustomDXSound* dxSound, platform::AudioSystem& audio,
                                         const std::optional<platform::AudioFormat>& format)
    : TDirectSound(audio, format), dxSound_(dxSound) {}

void TDXSoundDirectSound::BuffersLost() {
  // Reloading goes through the buffers again; a loss reported meanwhile is part of the
  // same restore.
  if (restoring_) return;
  restoring_ = true;
  try {
    dxSound_->Restore();
  } catch (...) {
    restoring_ = false;
    throw;
  }
  restoring_ = false;
}

// The component.

TCustomDXSound::TCustomDXSound(TComponent* owner) : TComponent(owner) {}

TCustomDXSound::~TCustomDXSound() {
  // A destructor cannot pass a handler's failure on; the device is released regardless.
  try {
    Finalize();
  } catch (const std::exception&) {
  }
  try {
    notify(TDXSoundNotifyType::dsntDestroying);
  } catch (const std::exception&) {
  }
}

void TCustomDXSound::SetStoredProperty(const std::string& name, const TPropertyValue& value) {
  if (name == "AutoInitialize") {
    AutoInitialize = value.AsBoolean(name);
  } else if (name == "Options") {
    TDXSoundOptions options = 0;
    for (const std::string& member : value.AsSet(name)) {
      if (member == "soGlobalFocus") {
        options |= soGlobalFocus;
      } else if (member == "soStickyFocus") {
        options |= soStickyFocus;
      } else if (member == "soExclusive") {
        options |= soExclusive;
      } else {
        throw EReadError(Format("Invalid property value for %s: %s", name, member));
      }
    }
    SetOptions(options);
  } else if (name == "OnFinalize") {
    OnFinalize = MethodByName<TNotifyEvent>(name, value.AsIdentifier(name));
  } else if (name == "OnInitialize") {
    OnInitialize = MethodByName<TNotifyEvent>(name, value.AsIdentifier(name));
  } else if (name == "OnInitializing") {
    OnInitializing = MethodByName<TNotifyEvent>(name, value.AsIdentifier(name));
  } else if (name == "OnRestore") {
    OnRestore = MethodByName<TNotifyEvent>(name, value.AsIdentifier(name));
  } else {
    TComponent::SetStoredProperty(name, value);
  }
}

void TCustomDXSound::Loaded() {
  TComponent::Loaded();
  if (!AutoInitialize) return;
  try {
    Initialize();
  } catch (const EDirectSoundError&) {
    // No sound device: the program runs without sound.
  }
}

void TCustomDXSound::SetOptions(TDXSoundOptions options) {
  options_ = options;
  applyOptions();
}

void TCustomDXSound::applyOptions() {
  if (!dsound_) return;
  dsound_->GlobalFocus = (options_ & soGlobalFocus) != 0;
  dsound_->StickyFocus = (options_ & soStickyFocus) != 0;
}

uint32_t TCustomDXSound::ownerWindowId() const {
  for (TComponent* c = Owner(); c != nullptr; c = c->Owner()) {
    if (auto* form = dynamic_cast<TForm*>(c)) return form->Handle() ? form->Handle()->id() : 0;
  }
  throw EDXSoundError(SSoundFormNotFound);
}

void TCustomDXSound::Initialize() {
  Finalize();
  const uint32_t windowId = ownerWindowId();
  preferredFormat_.reset();
  notify(TDXSoundNotifyType::dsntInitializing);
  if (OnInitializing) OnInitializing(this);
  created_ = true;
  try {
    if (Application == nullptr) throw EDirectSoundError(Format(SCannotInitialized, SDirectSound));
    dsound_ = std::make_unique<TDXSoundDirectSound>(this, Application->Platform().audio(),
                                                    preferredFormat_);
    applyOptions();
    primary_ = std::make_unique<TDirectSoundBuffer>(dsound_.get());
    TDSBufferDesc desc;
    desc.dwFlags = DSBCAPS_PRIMARYBUFFER;
    if (!primary_->CreateBuffer(desc)) throw EDXSoundError(Format(SCannotMade, SPrimaryBuffer));
    initialized_ = true;
    dsound_->SetCooperativeLevel(windowId,
                                 (options_ & soExclusive) != 0 ? DSSCL_EXCLUSIVE : DSSCL_NORMAL);
  } catch (...) {
    Finalize();
    throw;
  }
  notify(TDXSoundNotifyType::dsntInitialize);
  finalizeDue_ = true;
  if (OnInitialize) OnInitialize(this);
  Restore();
}

void TCustomDXSound::PreferFormat(const platform::AudioFormat& format) {
  if (!preferredFormat_) preferredFormat_ = format;
}

void TCustomDXSound::Finalize() {
  if (!created_) return;
  struct Release {
    TCustomDXSound* self;
    ~Release() {
      self->initialized_ = false;
      self->created_ = false;
      self->applyOptions();
      self->primary_.reset();
      self->dsound_.reset();
    }
  } release{this};
  if (finalizeDue_) {
    finalizeDue_ = false;
    try {
      if (OnFinalize) OnFinalize(this);
    } catch (...) {
      notify(TDXSoundNotifyType::dsntFinalize);
      throw;
    }
  }
  notify(TDXSoundNotifyType::dsntFinalize);
}

void TCustomDXSound::Restore() {
  if (!initialized_) return;
  notify(TDXSoundNotifyType::dsntRestore);
  if (OnRestore) OnRestore(this);
}

void TCustomDXSound::RegisterNotifyEvent(TObject* receiver, const TDXSoundNotifyEvent& handler) {
  UnRegisterNotifyEvent(receiver);
  handlers_.emplace_back(receiver, handler);
  if (initialized_) {
    handler(this, TDXSoundNotifyType::dsntInitialize);
    handler(this, TDXSoundNotifyType::dsntRestore);
  }
}

void TCustomDXSound::UnRegisterNotifyEvent(TObject* receiver) {
  auto it = std::find_if(handlers_.begin(), handlers_.end(),
                         [receiver](const auto& h) { return h.first == receiver; });
  if (it == handlers_.end()) return;
  const TDXSoundNotifyEvent handler = it->second;
  handlers_.erase(it);
  if (initialized_) handler(this, TDXSoundNotifyType::dsntFinalize);
}

void TCustomDXSound::notify(TDXSoundNotifyType type) {
  // Handlers may unregister themselves while they are told, so each is looked up anew.
  for (size_t i = handlers_.size(); i > 0; --i) {
    if (i > handlers_.size()) continue;
    const TDXSoundNotifyEvent handler = handlers_[i - 1].second;
    handler(this, type);
  }
}
