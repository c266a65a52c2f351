#include "engine/sound/direct_sound.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/fake_audio.h"

namespace {

TWave pcmWave(int32_t bytes) {
  TWave wave;
  wave.SetFormatSize(18);
  const uint8_t format[18] = {1, 0, 2, 0, 0x44, 0xAC, 0, 0, 0x10, 0xB1, 2, 0, 4, 0, 16, 0, 0, 0};
  std::memcpy(wave.FormatData(), format, sizeof format);
  wave.SetWaveSize(bytes);
  for (int32_t i = 0; i < bytes; ++i) wave.WaveData()[i] = static_cast<uint8_t>(i);
  return wave;
}

}  // namespace

TEST(DirectSound, NoDeviceCannotBeInitialized) {
  platform::FakeAudioSystem audio;
  audio.state().deviceAvailable = false;
  try {
    TDirectSound sound(audio);
    FAIL();
  } catch (const EDirectSoundError& e) {
    EXPECT_EQ(e.Message(), "DirectSound cannot be initialized");
  }
}

TEST(DirectSoundBuffer, LoadFromWaveHoldsTheSamplesWithTheFocusFlags) {
  platform::FakeAudioSystem audio;
  TDirectSound sound(audio);
  sound.GlobalFocus = true;
  TDirectSoundBuffer buffer(&sound);
  EXPECT_EQ(sound.BufferCount(), 1);
  const TWave wave = pcmWave(1000);
  buffer.LoadFromWave(wave);
  EXPECT_EQ(buffer.Caps().dwFlags, 0xE0u | DSBCAPS_GLOBALFOCUS);
  EXPECT_EQ(buffer.Caps().dwBufferBytes, 1000u);
  EXPECT_EQ(buffer.Format().size(), 18u);
  EXPECT_EQ(buffer.Format()[2], 2);  // stereo
  EXPECT_EQ(buffer.LockCount(), 0);
  const auto& held = audio.state().buffers.at(0)->deviceSamples();
  EXPECT_EQ(held, std::vector<uint8_t>(wave.WaveData(), wave.WaveData() + 1000));

  sound.StickyFocus = true;  // sticky wins over global
  buffer.LoadFromWave(wave);
  EXPECT_EQ(buffer.Caps().dwFlags, 0xE0u | DSBCAPS_STICKYFOCUS);
  EXPECT_EQ(audio.state().buffers.size(), 1u);  // the old buffer was released
}

TEST(DirectSoundBuffer, AFormatBlockTooShortIsRefused) {
  platform::FakeAudioSystem audio;
  TDirectSound sound(audio);
  TDirectSoundBuffer buffer(&sound);
  TWave wave = pcmWave(10);
  wave.SetFormatSize(12);
  try {
    buffer.LoadFromWave(wave);
    FAIL();
  } catch (const EDirectSoundBufferError& e) {
    EXPECT_EQ(e.Message(), "Sound Buffer cannot be made");
  }
  EXPECT_EQ(buffer.LastResult(), DSERR_BADFORMAT);
}

TEST(DirectSoundBuffer, OneLockAtATime) {
  platform::FakeAudioSystem audio;
  TDirectSound sound(audio);
  TDirectSoundBuffer buffer(&sound);
  buffer.LoadFromWave(pcmWave(100));
  uint8_t *p1, *p2;
  uint32_t s1, s2;
  ASSERT_TRUE(buffer.Lock(60, 80, p1, s1, p2, s2));
  EXPECT_EQ(s1, 40u);  // up to the end of the ring, then from its start
  EXPECT_EQ(s2, 40u);
  EXPECT_EQ(p1[0], 60);
  EXPECT_FALSE(buffer.Lock(0, 10, p1, s1, p2, s2));
  EXPECT_TRUE(buffer.UnLock());
  EXPECT_FALSE(buffer.UnLock());
}

TEST(DirectSoundBuffer, ADeviceThatGoesFirstLeavesItsBuffersUnmade) {
  platform::FakeAudioSystem audio;
  auto sound = std::make_unique<TDirectSound>(audio);
  TDirectSoundBuffer first(sound.get());
  TDirectSoundBuffer second(sound.get());
  first.LoadFromWave(pcmWave(10));
  second.LoadFromWave(pcmWave(10));
  sound.reset();
  EXPECT_TRUE(audio.state().buffers.empty());
  EXPECT_EQ(audio.state().devicesOpen, 0);
  EXPECT_EQ(first.DSound(), nullptr);
  EXPECT_FALSE(first.Made());
  try {
    first.Stop();
    FAIL();
  } catch (const EDirectSoundBufferError& e) {
    EXPECT_EQ(e.Message(), "IDirectSoundBuffer not made");
  }
  EXPECT_THROW(first.LoadFromWave(pcmWave(10)), EDirectSoundError);
}
