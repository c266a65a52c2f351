#include "engine/sound/wave_list.h"

#include <algorithm>

#include "framework/text_case.h"

// Items.

TWaveCollectionItem::TWaveCollectionItem(TWaveCollection* collection) : collection_(collection) {}

TWaveCollectionItem::~TWaveCollectionItem() = default;

void TWaveCollectionItem::SetStoredProperty(const std::string& name, const TPropertyValue& value) {
  if (name == "Name") {
    Name = value.AsString(name);
  } else if (name == "Looped") {
    SetLooped(value.AsBoolean(name));
  } else if (name == "MaxPlayingCount") {
    const int64_t count = value.AsInteger(name);
    SetMaxPlayingCount(static_cast<int32_t>(std::clamp<int64_t>(count, 0, INT32_MAX)));
  } else if (name == "Wave.WAVE") {
    wave_.ReadStoredData(value.AsBinary(name));
  } else {
    throw EReadError(Format("Property %s does not exist", name));
  }
}

void TWaveCollectionItem::SetLooped(bool value) {
  if (value == looped_) return;
  if (buffer_ && buffer_->Made()) buffer_->Stop();
  for (const auto& extra : extraBuffers_) {
    if (extra->Made()) extra->Stop();
  }
  looped_ = value;
}

void TWaveCollectionItem::SetMaxPlayingCount(int32_t value) {
  value = std::max(value, 0);
  if (value == maxPlayingCount_) return;
  maxPlayingCount_ = value;
  if (initialized_) extraBuffers_.clear();
}

void TWaveCollectionItem::Initialize() {
  Finalize();
  TCustomDXSound* sound = collection_ != nullptr ? collection_->DXSound() : nullptr;
  initialized_ = sound != nullptr && sound->Initialized();
}

void TWaveCollectionItem::Finalize() {
  if (!initialized_) return;
  initialized_ = false;
  extraBuffers_.clear();
  buffer_.reset();
}

void TWaveCollectionItem::Restore() {
  if (wave_.WaveSize() == 0) return;
  TCustomDXSound* sound = collection_ != nullptr ? collection_->DXSound() : nullptr;
  if (!initialized_) {
    if (sound != nullptr && sound->Initialized()) Initialize();
    if (!initialized_) return;
  }
  if (sound == nullptr || sound->DSound() == nullptr) return;
  if (!buffer_) buffer_ = std::make_unique<TDirectSoundBuffer>(sound->DSound());
  buffer_->LoadFromWave(wave_);
  buffer_->SetFrequency(Frequency);
  buffer_->SetPan(Pan);
  buffer_->SetVolume(Volume);
}

// The collection.

TWaveCollectionItem* TWaveCollection::Add() {
  items_.push_back(std::make_unique<TWaveCollectionItem>(this));
  return items_.back().get();
}

void TWaveCollection::Clear() {
  for (const auto& item : items_) item->Finalize();
  items_.clear();
}

TWaveCollectionItem* TWaveCollection::Find(const std::string& name) const {
  for (const auto& item : items_) {
    if (SameText(item->Name, name)) return item.get();
  }
  return nullptr;
}

void TWaveCollection::ReadStored(const std::vector<std::vector<TStoredProperty>>& items) {
  // Built aside, so a damaged item leaves the list as it was.
  TWaveCollection read;
  for (const auto& stored : items) {
    TWaveCollectionItem* item = read.Add();
    for (const TStoredProperty& p : stored) item->SetStoredProperty(p.name, p.value);
  }
  Clear();
  for (auto& item : read.items_) {
    item->collection_ = this;
    items_.push_back(std::move(item));
  }
  if (dxSound_ != nullptr) Restore();
}

void TWaveCollection::NameFormat(TCustomDXSound& dxSound) const {
  for (const auto& item : items_) {
    const TWave& wave = item->Wave();
    platform::AudioFormat format;
    if (wave.WaveSize() > 0 && AudioFormatFromBlock(wave.FormatData(), wave.FormatSize(), format)) {
      dxSound.PreferFormat(format);
      return;
    }
  }
}

void TWaveCollection::Initialize(TCustomDXSound* dxSound) {
  dxSound_ = dxSound;
  for (const auto& item : items_) item->Initialize();
}

void TWaveCollection::Finalize() {
  for (const auto& item : items_) item->Finalize();
  dxSound_ = nullptr;
}

void TWaveCollection::Restore() {
  for (const auto& item : items_) item->Restore();
}

// The list component.

TCustomDXWaveList::TCustomDXWaveList(TComponent* owner) : TComponent(owner) {}

TCustomDXWaveList::~TCustomDXWaveList() { SetDXSound(nullptr); }

void TCustomDXWaveList::SetStoredProperty(const std::string& name, const TPropertyValue& value) {
  if (name == "DXSound") {
    const std::string& soundName = value.AsIdentifier(name);
    TCustomDXSound* sound = findSound(soundName);
    pendingSound_ = sound == nullptr ? soundName : std::string();
    SetDXSound(sound);
  } else if (name == "Items") {
    items_.ReadStored(value.AsCollection(name));
  } else {
    TComponent::SetStoredProperty(name, value);
  }
}

void TCustomDXWaveList::Loaded() {
  TComponent::Loaded();
  // A sound component described after the list is bound once everything is read.
  if (pendingSound_.empty()) return;
  TCustomDXSound* sound = findSound(pendingSound_);
  if (sound == nullptr) {
    throw EReadError(Format("Invalid property value for DXSound: no component %s", pendingSound_));
  }
  pendingSound_.clear();
  SetDXSound(sound);
}

TCustomDXSound* TCustomDXWaveList::findSound(const std::string& name) const {
  for (TComponent* c = Owner(); c != nullptr; c = c->Owner()) {
    if (auto* sound = dynamic_cast<TCustomDXSound*>(c->FindComponent(name))) return sound;
  }
  return nullptr;
}

void TCustomDXWaveList::SetDXSound(TCustomDXSound* dxSound) {
  if (dxSound == dxSound_) return;
  TCustomDXSound* old = dxSound_;
  dxSound_ = nullptr;
  if (old != nullptr) old->UnRegisterNotifyEvent(this);
  dxSound_ = dxSound;
  if (dxSound_ != nullptr) {
    dxSound_->RegisterNotifyEvent(this, [this](TCustomDXSound* sender, TDXSoundNotifyType type) {
      dxSoundNotify(sender, type);
    });
  }
}

void TCustomDXWaveList::dxSoundNotify(TCustomDXSound* sender, TDXSoundNotifyType type) {
  switch (type) {
    case TDXSoundNotifyType::dsntDestroying:
      // The component goes: forget it without calling back into it.
      items_.Finalize();
      dxSound_ = nullptr;
      break;
    case TDXSoundNotifyType::dsntInitializing:
      items_.NameFormat(*sender);
      break;
    case TDXSoundNotifyType::dsntInitialize:
      items_.Initialize(sender);
      break;
    case TDXSoundNotifyType::dsntFinalize:
      items_.Finalize();
      break;
    case TDXSoundNotifyType::dsntRestore:
      items_.Restore();
      break;
  }
}
