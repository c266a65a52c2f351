#include "platform/memory_audio_buffer.h"

#include <gtest/gtest.h>

#include "platform/fake_audio.h"

using platform::AudioFormat;
using platform::AudioRegion;

TEST(MemoryAudioBuffer, LocksWrapAroundTheRingAndRefuseBadRanges) {
  platform::FakeAudioSystem audio;
  auto device = audio.openDevice();
  auto buffer = device->createBuffer(AudioFormat{1, 1, 11025, 16}, 100);
  AudioRegion first;
  AudioRegion second;
  EXPECT_FALSE(buffer->lock(100, 1, first, second));  // offset past the end
  EXPECT_FALSE(buffer->lock(0, 101, first, second));  // more than the buffer
  EXPECT_FALSE(buffer->lock(0, 0, first, second));
  ASSERT_TRUE(buffer->lock(90, 30, first, second));
  EXPECT_EQ(first.size, 10u);
  EXPECT_EQ(second.size, 20u);
  EXPECT_EQ(second.data + 90, first.data);
  EXPECT_FALSE(buffer->lock(0, 1, first, second));  // one lock at a time
  EXPECT_TRUE(buffer->unlock());
  EXPECT_FALSE(buffer->unlock());
}

TEST(MemoryAudioBuffer, ALostBufferRefusesCallsUntilRestored) {
  platform::FakeAudioSystem audio;
  auto device = audio.openDevice();
  auto buffer = device->createBuffer(AudioFormat{1, 1, 11025, 16}, 10);
  audio.state().buffers[0]->markLost();
  AudioRegion first;
  AudioRegion second;
  EXPECT_TRUE(buffer->lost());
  EXPECT_FALSE(buffer->lock(0, 10, first, second));
  EXPECT_FALSE(buffer->setVolume(0));
  EXPECT_TRUE(buffer->restore());
  EXPECT_TRUE(buffer->setVolume(-600));
  EXPECT_FALSE(buffer->setVolume(1));  // louder than full level
  EXPECT_FALSE(buffer->setPan(10001));
}
