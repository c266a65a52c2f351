#pragma once
// The wave list: named waves that become device buffers holding their samples while
// the sound component they are bound to is initialized.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/sound/direct_sound.h"
#include "engine/sound/dx_sound.h"
#include "engine/sound/wave.h"
#include "framework/component.h"

class TWaveCollection;

class TWaveCollectionItem : public TObject {
 public:
  explicit TWaveCollectionItem(TWaveCollection* collection);
  ~TWaveCollectionItem() override;
  TWaveCollectionItem(const TWaveCollectionItem&) = delete;
  TWaveCollectionItem& operator=(const TWaveCollectionItem&) = delete;

  // Name, Looped, MaxPlayingCount and Wave.WAVE.
  void SetStoredProperty(const std::string& name, const TPropertyValue& value);

  std::string Name;
  bool Looped() const { return looped_; }
  // A change stops every buffer of the item.
  void SetLooped(bool value);
  int32_t MaxPlayingCount() const { return maxPlayingCount_; }
  // Negative counts as 0; a change drops the extra buffers.
  void SetMaxPlayingCount(int32_t value);
  TWave& Wave() { return wave_; }
  const TWave& Wave() const { return wave_; }
  // The wave's own rate, centre and full level.
  int32_t Frequency = 0;
  int32_t Pan = 0;
  int32_t Volume = 0;

  TWaveCollection* Collection() const { return collection_; }
  bool Initialized() const { return initialized_; }
  TDirectSoundBuffer* Buffer() const { return buffer_.get(); }
  int ExtraBufferCount() const { return static_cast<int>(extraBuffers_.size()); }

  void Initialize();
  void Finalize();
  // Loads the samples into the item's buffer, making it first when there is none.
  void Restore();

 private:
  friend class TWaveCollection;
  TWaveCollection* collection_;
  bool looped_ = false;
  int32_t maxPlayingCount_ = 0;
  TWave wave_;
  std::unique_ptr<TDirectSoundBuffer> buffer_;
  std::vector<std::unique_ptr<TDirectSoundBuffer>> extraBuffers_;
  bool initialized_ = false;
};

class TWaveCollection {
 public:
  TWaveCollection() = default;
  TWaveCollection(const TWaveCollection&) = delete;
  TWaveCollection& operator=(const TWaveCollection&) = delete;

  // The sound component the items make their buffers on; nullptr while detached.
  TCustomDXSound* DXSound() const { return dxSound_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TWaveCollectionItem* Items(int index) const { return items_[static_cast<size_t>(index)].get(); }
  TWaveCollectionItem* Add();
  void Clear();
  // By name, whatever the letter case; nullptr when there is none.
  TWaveCollectionItem* Find(const std::string& name) const;
  // Replaces the items by a stored collection.
  void ReadStored(const std::vector<std::vector<TStoredProperty>>& items);

  // Names to the sound component the format of the first wave that has samples.
  void NameFormat(TCustomDXSound& dxSound) const;
  void Initialize(TCustomDXSound* dxSound);
  void Finalize();
  void Restore();

 private:
  TCustomDXSound* dxSound_ = nullptr;
  std::vector<std::unique_ptr<TWaveCollectionItem>> items_;
};

class TCustomDXWaveList : public TComponent {
 public:
  explicit TCustomDXWaveList(TComponent* owner);
  ~TCustomDXWaveList() override;
  std::string ClassName() const override { return "TCustomDXWaveList"; }
  // DXSound names a sound component of the same window; Items is the stored collection.
  void SetStoredProperty(const std::string& name, const TPropertyValue& value) override;
  void Loaded() override;

  TCustomDXSound* DXSound() const { return dxSound_; }
  // Binds the list to a sound component (registering with it) or, with nullptr, unbinds.
  void SetDXSound(TCustomDXSound* dxSound);
  TWaveCollection& Items() { return items_; }

 private:
  void dxSoundNotify(TCustomDXSound* sender, TDXSoundNotifyType type);
  TCustomDXSound* findSound(const std::string& name) const;

  TCustomDXSound* dxSound_ = nullptr;
  std::string pendingSound_;
  TWaveCollection items_;
};

class TDXWaveList : public TCustomDXWaveList {
 public:
  using TCustomDXWaveList::TCustomDXWaveList;
  std::string ClassName() const override { return "TDXWaveList"; }
};
