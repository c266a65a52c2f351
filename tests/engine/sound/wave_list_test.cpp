#include "engine/sound/wave_list.h"

#include <gtest/gtest.h>

#include <string>

#include "sound_fixture.h"

namespace {

const char* kTwoItems = R"(object Main: TSoundTestForm
  object DXWaveList: TDXWaveList
    DXSound = DXSound
    Items = <
      item
        Name = 'snd'
        Looped = True
        MaxPlayingCount = -3
        Wave.WAVE = {@snd.wav}
      end
      item
        Name = 'silence'
        Wave.WAVE = {}
      end>
  end
  object DXSound: TDXSound
  end
end)";

}  // namespace

TEST(WaveListStored, ReadsItemsAndBindsASoundDescribedAfterTheList) {
  SoundFixture f;
  f.load(kTwoItems);
  TDXWaveList* list = f.list();
  EXPECT_EQ(list->DXSound(), f.sound());
  ASSERT_EQ(list->Items().Count(), 2);
  TWaveCollectionItem* snd = list->Items().Find("Snd");
  EXPECT_TRUE(snd->Looped());
  EXPECT_EQ(snd->MaxPlayingCount(), 0);
  EXPECT_NE(snd->Buffer(), nullptr);
  EXPECT_EQ(list->Items().Find("nothing"), nullptr);
}

TEST(WaveListStored, AWaveWithNoSamplesGetsNoBuffer) {
  SoundFixture f;
  f.load(kTwoItems);
  TWaveCollectionItem* silence = f.list()->Items().Find("silence");
  EXPECT_TRUE(silence->Initialized());
  EXPECT_EQ(silence->Buffer(), nullptr);
  EXPECT_EQ(f.device().buffers.size(), 1u);
}

TEST(WaveListStored, DamagedItemsAreReadingErrorsThatKeepTheList) {
  SoundFixture f;
  f.load();
  TDXWaveList* list = f.list();
  TPropertyValue items = ParseDescription(R"(object X: T
    Items = <
      item
        Name = 'new'
      end
      item
        Wave.WAVE = {52 49 46 46 00 00 00 00 57 41 56}
      end>
  end)")
                             .properties[0]
                             .value;
  EXPECT_EQ(messageOf([&] { list->SetStoredProperty("Items", items); }), "Stream read error");
  ASSERT_EQ(list->Items().Count(), 1);
  EXPECT_NE(list->Items().Find("snd")->Buffer(), nullptr);

  TPropertyValue unknown =
      ParseDescription("object X: T\n Items = <item Pitch = 3 end>\nend").properties[0].value;
  EXPECT_EQ(messageOf([&] { list->SetStoredProperty("Items", unknown); }),
            "Property Pitch does not exist");
}

TEST(WaveListItems, LoopedStopsTheBuffersOnlyWhenItChanges) {
  SoundFixture f;
  f.load();
  TWaveCollectionItem* snd = f.list()->Items().Find("snd");
  platform::FakeAudioBuffer* held = f.device().buffers[0];
  held->startPlaying();
  snd->SetLooped(false);
  EXPECT_EQ(held->stopCalls, 0);
  EXPECT_TRUE(held->playing());
  snd->SetLooped(true);
  EXPECT_EQ(held->stopCalls, 1);
  EXPECT_FALSE(held->playing());
  snd->SetLooped(true);
  EXPECT_EQ(held->stopCalls, 1);
}

TEST(WaveListItems, RefusedBuffersAndLocksPropagateTheirMessages) {
  SoundFixture f;
  f.load();
  TWaveCollectionItem* snd = f.list()->Items().Find("snd");
  f.device().refuseBuffers = true;
  EXPECT_EQ(messageOf([&] { snd->Restore(); }), "Sound Buffer cannot be made");
  f.device().refuseBuffers = false;
  f.device().refuseLocks = true;
  EXPECT_EQ(messageOf([&] { snd->Restore(); }), "Sound Buffer cannot be locked");
  EXPECT_FALSE(snd->Buffer()->Made());  // the buffer interface is dropped
  f.device().refuseLocks = false;
  snd->Restore();
  EXPECT_TRUE(snd->Buffer()->Made());
}

TEST(WaveListBinding, ABindingMadeOrUndoneLaterMakesOrDropsTheBuffers) {
  SoundFixture f;
  f.load();
  TDXWaveList* list = f.list();
  TDXSound* sound = f.sound();
  list->SetDXSound(nullptr);
  EXPECT_EQ(list->Items().Find("snd")->Buffer(), nullptr);
  EXPECT_TRUE(f.device().buffers.empty());
  EXPECT_EQ(list->Items().DXSound(), nullptr);

  list->SetDXSound(sound);  // initialized: the list is brought up at once
  EXPECT_NE(list->Items().Find("snd")->Buffer(), nullptr);
  EXPECT_EQ(list->Items().DXSound(), sound);

  sound->Finalize();
  EXPECT_FALSE(list->Items().Find("snd")->Initialized());
  EXPECT_TRUE(f.device().buffers.empty());
}
