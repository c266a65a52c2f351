#pragma once
// The sound device and its buffers, wrapped as the engine's other platform objects are:
// each call keeps the device's result code, and a buffer that reports its samples lost
// has the device restore them.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "engine/sound/wave.h"
#include "engine/timer/direct_x.h"
#include "platform/audio_system.h"

class EDirectSoundError : public EDirectXError {
 public:
  using EDirectXError::EDirectXError;
};
class EDirectSoundBufferError : public EDirectXError {
 public:
  using EDirectXError::EDirectXError;
};

inline constexpr const char* SCannotLock = "%s cannot be locked";
inline constexpr const char* SDirectSound = "DirectSound";
inline constexpr const char* SDirectSoundBuffer = "Sound Buffer";

// Result codes of the device's calls.
inline constexpr int32_t DS_OK = 0;
inline constexpr int32_t DSERR_GENERIC = static_cast<int32_t>(0x80004005u);
inline constexpr int32_t DSERR_INVALIDPARAM = static_cast<int32_t>(0x80070057u);
inline constexpr int32_t DSERR_INVALIDCALL = static_cast<int32_t>(0x88780032u);
inline constexpr int32_t DSERR_BADFORMAT = static_cast<int32_t>(0x88780064u);
inline constexpr int32_t DSERR_BUFFERLOST = static_cast<int32_t>(0x88780096u);

// Buffer flags.
inline constexpr uint32_t DSBCAPS_PRIMARYBUFFER = 0x0001;
inline constexpr uint32_t DSBCAPS_CTRLFREQUENCY = 0x0020;
inline constexpr uint32_t DSBCAPS_CTRLPAN = 0x0040;
inline constexpr uint32_t DSBCAPS_CTRLVOLUME = 0x0080;
inline constexpr uint32_t DSBCAPS_STICKYFOCUS = 0x4000;
inline constexpr uint32_t DSBCAPS_GLOBALFOCUS = 0x8000;

// Cooperative levels.
inline constexpr int32_t DSSCL_NORMAL = 1;
inline constexpr int32_t DSSCL_EXCLUSIVE = 3;

// What a buffer is asked to be (the 36-byte buffer description: its size field and the
// zero 3-D algorithm are implied).
struct TDSBufferDesc {
  uint32_t dwFlags = 0;
  uint32_t dwBufferBytes = 0;
  std::vector<uint8_t> lpwfxFormat;  // a format block; empty for the primary buffer
};

// What the device made of it (the 20-byte capabilities record).
struct TDSBCaps {
  uint32_t dwSize = 20;
  uint32_t dwFlags = 0;
  uint32_t dwBufferBytes = 0;
  uint32_t dwUnlockTransferRate = 0;
  uint32_t dwPlayCpuOverhead = 0;
};

// The sample layout a format block describes; false when it is too short to tell.
bool AudioFormatFromBlock(const uint8_t* block, int32_t size, platform::AudioFormat& format);

class TDirectSoundBuffer;

class TDirectSound : public TDirectX {
 public:
  // Opens the default device, in the given sample format when there is one;
  // EDirectSoundError "DirectSound cannot be initialized" when there is none.
  explicit TDirectSound(platform::AudioSystem& audio,
                        const std::optional<platform::AudioFormat>& format = std::nullopt);
  // Releases every buffer still registered, last first, then the device.
  ~TDirectSound() override;
  TDirectSound(const TDirectSound&) = delete;
  TDirectSound& operator=(const TDirectSound&) = delete;

  // The device; "IDirectSound not made" once it is gone.
  platform::AudioDevice& ISound();
  bool SetCooperativeLevel(uint32_t windowId, int32_t level);
  int BufferCount() const { return static_cast<int>(buffers_.size()); }
  TDirectSoundBuffer* Buffers(int index) const { return buffers_[static_cast<size_t>(index)]; }

  // Focus flags for the buffers made on this device.
  bool GlobalFocus = false;
  bool StickyFocus = false;

  // A buffer reported its samples lost; the device's owner reloads them.
  virtual void BuffersLost() {}

 private:
  friend class TDirectSoundBuffer;
  void addBuffer(TDirectSoundBuffer* buffer) { buffers_.push_back(buffer); }
  void removeBuffer(TDirectSoundBuffer* buffer);

  std::unique_ptr<platform::AudioDevice> device_;
  std::vector<TDirectSoundBuffer*> buffers_;
};

// One device buffer. Its owner holds it; the device only keeps a list, and when the
// device goes first the buffer is left without an interface ("not made").
class TDirectSoundBuffer : public TDirectX {
 public:
  explicit TDirectSoundBuffer(TDirectSound* sound);
  ~TDirectSoundBuffer() override;
  TDirectSoundBuffer(const TDirectSoundBuffer&) = delete;
  TDirectSoundBuffer& operator=(const TDirectSoundBuffer&) = delete;

  TDirectSound* DSound() const { return sound_; }
  bool Made() const { return buffer_ != nullptr; }
  // "IDirectSoundBuffer not made" when there is no buffer.
  platform::AudioBuffer& IBuffer();
  const TDSBCaps& Caps() const { return caps_; }
  const std::vector<uint8_t>& Format() const { return format_; }

  // Releases any current buffer and asks the device for a new one.
  bool CreateBuffer(const TDSBufferDesc& desc);
  // A secondary buffer holding the wave's samples. Raises EDirectSoundBufferError
  // "Sound Buffer cannot be made" or "... cannot be locked".
  void LoadFromWave(const TWave& wave);
  void Release();

  bool Lock(uint32_t offset, uint32_t size, uint8_t*& data1, uint32_t& size1, uint8_t*& data2,
            uint32_t& size2);
  bool UnLock();
  int LockCount() const { return lockCount_; }
  bool Stop();
  bool Playing();
  bool SetFrequency(int32_t value);
  bool SetPan(int32_t value);
  bool SetVolume(int32_t value);

 protected:
  void ResultError() override;

 private:
  friend class TDirectSound;
  // Keeps the result of a buffer call: a lost buffer and any other refusal differ.
  bool result(bool ok);

  TDirectSound* sound_;
  std::unique_ptr<platform::AudioBuffer> buffer_;
  TDSBCaps caps_;
  std::vector<uint8_t> format_;
  int lockCount_ = 0;
};
