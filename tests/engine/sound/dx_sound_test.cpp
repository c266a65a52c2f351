#include "engine/sound/dx_sound.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sound_fixture.h"

namespace {

const char* kSoundOnly = R"(object Main: TSoundTestForm
  object DXSound: TDXSound
    AutoInitialize = False
  end
end)";

// Records what a registered receiver is told.
struct Listener : TObject {
  std::string name;
  std::vector<std::string>* log;
  Listener(std::string n, std::vector<std::string>* l) : name(std::move(n)), log(l) {}
  TDXSoundNotifyEvent handler() {
    return [this](TCustomDXSound*, TDXSoundNotifyType type) {
      log->push_back(name + ":" + std::to_string(static_cast<int>(type)));
    };
  }
};

}  // namespace

TEST(DXSoundStartUp, OpensTheDeviceAndPreparesSndThenReleasesEverything) {
  SoundFixture f;
  f.load();
  ASSERT_TRUE(f.sound()->Initialized());
  EXPECT_EQ(f.device().devicesOpen, 1);
  TWaveCollectionItem* snd = f.list()->Items().Find("SND");
  ASSERT_NE(snd, nullptr);
  EXPECT_TRUE(snd->Initialized());
  ASSERT_NE(snd->Buffer(), nullptr);
  EXPECT_EQ(snd->Buffer()->Caps().dwBufferBytes, 24076u);
  EXPECT_EQ(snd->Buffer()->Caps().dwFlags, 0xE0u);
  ASSERT_EQ(f.device().buffers.size(), 1u);
  const platform::FakeAudioBuffer& held = *f.device().buffers[0];
  EXPECT_EQ(held.deviceSamples(),
            std::vector<uint8_t>(snd->Wave().WaveData(), snd->Wave().WaveData() + 24076));
  EXPECT_EQ(held.frequency(), 0u);
  EXPECT_EQ(held.pan(), 0);
  EXPECT_EQ(held.volume(), 0);
  EXPECT_FALSE(held.playing());
  // The device opens once, in the wave's format: 11025 Hz, mono, 16 bits.
  EXPECT_EQ(f.device().devicesOpened, 1);
  EXPECT_EQ(f.device().openedIn, (platform::AudioFormat{1, 1, 11025, 16}));
  EXPECT_EQ(f.device().deviceFormat, (platform::AudioFormat{1, 1, 11025, 16}));
  EXPECT_EQ(f.device().cooperation, platform::AudioCooperation::Normal);

  f.fake.app.reset();
  EXPECT_EQ(f.device().devicesOpen, 0);
  EXPECT_TRUE(f.device().buffers.empty());
}

TEST(DXSoundStartUp, NoDeviceIsSilentAndLeavesTheItemUninitialized) {
  SoundFixture f;
  f.device().deviceAvailable = false;
  std::vector<std::string> shown;
  f.fake.app->OnShowMessage = [&](const std::string& text) { shown.push_back(text); };
  EXPECT_NO_THROW(f.load());
  EXPECT_FALSE(f.sound()->Initialized());
  EXPECT_EQ(f.sound()->DSound(), nullptr);
  TWaveCollectionItem* snd = f.list()->Items().Find("snd");
  EXPECT_FALSE(snd->Initialized());
  EXPECT_EQ(snd->Buffer(), nullptr);
  EXPECT_EQ(snd->Wave().WaveSize(), 24076);  // the wave itself is still read
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(messageOf([&] { f.sound()->Initialize(); }), "DirectSound cannot be initialized");
}

TEST(DXSoundInitialize, FailuresOtherThanANoDevicePropagateAndReleaseTheDevice) {
  SoundFixture f;
  f.load(kSoundOnly);
  f.device().refusePrimary = true;
  EXPECT_EQ(messageOf([&] { f.sound()->Initialize(); }), "Primary Buffer cannot be made");
  EXPECT_FALSE(f.sound()->Initialized());
  EXPECT_EQ(f.device().devicesOpen, 0);

  TDXSound orphan(nullptr);
  EXPECT_EQ(messageOf([&] { orphan.Initialize(); }), "Form not found");
}

TEST(DXSoundInitialize, ExclusiveOptionAndEventsInOrder) {
  SoundFixture f;
  f.load(kSoundOnly);
  TDXSound* sound = f.sound();
  std::vector<std::string> log;
  Listener listener("list", &log);
  sound->RegisterNotifyEvent(&listener, listener.handler());
  sound->OnInitializing = [&](TObject*) { log.push_back("OnInitializing"); };
  sound->OnInitialize = [&](TObject*) { log.push_back("OnInitialize"); };
  sound->OnRestore = [&](TObject*) { log.push_back("OnRestore"); };
  sound->OnFinalize = [&](TObject*) { log.push_back("OnFinalize"); };
  sound->SetOptions(soExclusive);
  sound->Initialize();
  EXPECT_EQ(f.device().cooperation, platform::AudioCooperation::Exclusive);
  EXPECT_EQ(f.device().cooperationWindow, f.form->Handle()->id());
  sound->Finalize();
  sound->Finalize();  // nothing more once finalized
  EXPECT_EQ(log, (std::vector<std::string>{"list:1", "OnInitializing", "list:2", "OnInitialize",
                                           "list:4", "OnRestore", "OnFinalize", "list:3"}));
  sound->UnRegisterNotifyEvent(&listener);
}

TEST(DXSoundNotify, HandlersAreToldInReverseOrderAndLateComersCatchUp) {
  SoundFixture f;
  f.load(kSoundOnly);
  TDXSound* sound = f.sound();
  std::vector<std::string> log;
  Listener a("a", &log);
  Listener b("b", &log);
  sound->RegisterNotifyEvent(&a, a.handler());
  sound->RegisterNotifyEvent(&b, b.handler());
  sound->Initialize();
  EXPECT_EQ(log, (std::vector<std::string>{"b:1", "a:1", "b:2", "a:2", "b:4", "a:4"}));

  log.clear();
  Listener c("c", &log);
  sound->RegisterNotifyEvent(&c, c.handler());  // initialized: told at once
  sound->RegisterNotifyEvent(&a, a.handler());  // again: out first, then in at the end
  EXPECT_EQ(log, (std::vector<std::string>{"c:2", "c:4", "a:3", "a:2", "a:4"}));

  log.clear();
  sound->UnRegisterNotifyEvent(&b);
  sound->Restore();
  EXPECT_EQ(log, (std::vector<std::string>{"b:3", "a:4", "c:4"}));
  sound->UnRegisterNotifyEvent(&a);
  sound->UnRegisterNotifyEvent(&c);
}

TEST(DXSoundFinalize, AFailingOnFinalizeStillTellsHandlersAndReleasesTheDevice) {
  SoundFixture f;
  f.load(kSoundOnly);
  TDXSound* sound = f.sound();
  std::vector<std::string> log;
  Listener a("a", &log);
  sound->RegisterNotifyEvent(&a, a.handler());
  sound->Initialize();
  sound->OnFinalize = [](TObject*) { throw Exception("handler failed"); };
  log.clear();
  EXPECT_EQ(messageOf([&] { sound->Finalize(); }), "handler failed");
  EXPECT_EQ(log, (std::vector<std::string>{"a:3"}));
  EXPECT_FALSE(sound->Initialized());
  EXPECT_EQ(f.device().devicesOpen, 0);
  sound->UnRegisterNotifyEvent(&a);
}

TEST(DXSoundLostBuffers, ALostBufferIsReloadedThroughTheComponent) {
  SoundFixture f;
  f.load();
  int restores = 0;
  f.sound()->OnRestore = [&](TObject*) { ++restores; };
  TWaveCollectionItem* snd = f.list()->Items().Find("snd");
  f.device().buffers[0]->markLost();

  EXPECT_FALSE(snd->Buffer()->SetVolume(0));
  EXPECT_EQ(restores, 1);
  EXPECT_FALSE(f.sound()->DSound()->Restoring());
  ASSERT_EQ(f.device().buffers.size(), 1u);
  EXPECT_FALSE(f.device().buffers[0]->lost());
  EXPECT_EQ(f.device().buffers[0]->deviceSamples().size(), 24076u);
}

TEST(DXSoundDestroying, TheListForgetsASoundComponentThatGoesFirst) {
  SoundFixture f;
  f.load();
  TDXWaveList* list = f.list();
  auto sound = std::make_unique<TDXSound>(f.form);
  list->SetDXSound(sound.get());
  sound->Initialize();
  EXPECT_NE(list->Items().Find("snd")->Buffer(), nullptr);
  sound.reset();
  EXPECT_EQ(list->DXSound(), nullptr);
  EXPECT_EQ(list->Items().Find("snd")->Buffer(), nullptr);
}
