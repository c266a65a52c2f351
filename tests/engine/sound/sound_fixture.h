#pragma once
// A headless window holding a sound component and a wave list read from a stored
// description, over the fake sound device.

#include <functional>
#include <memory>
#include <string>

#include "engine/sound/dx_sound.h"
#include "framework/description.h"
#include "framework/form.h"
#include "platform/fake_audio.h"
#include "support/fake_app.h"

class TSoundTestForm : public TForm {
 public:
  using TForm::TForm;
  std::string ClassName() const override { return "TSoundTestForm"; }
  TComponent* CreateStoredComponent(const std::string& className, TComponent* parent) override {
    if (className == "TDXSound") return CreateComponent<TDXSound>();
    if (className == "TDXWaveList") return CreateComponent<TDXWaveList>();
    return TForm::CreateStoredComponent(className, parent);
  }
};

// The sound blocks of the game's main window.
inline constexpr const char* kGameSoundDescription = R"(object Main: TSoundTestForm
  object DXSound: TDXSound
    AutoInitialize = True
    Options = []
  end
  object DXWaveList: TDXWaveList
    DXSound = DXSound
    Items = <
      item
        Name = 'snd'
        Looped = False
        MaxPlayingCount = 0
        Wave.WAVE = {@snd.wav}
      end>
  end
end)";

struct SoundFixture {
  FakeApp fake;
  platform::FakeAudioSystem* audio = nullptr;
  TSoundTestForm* form = nullptr;

  SoundFixture() {
    auto owned = std::make_unique<platform::FakeAudioSystem>();
    audio = owned.get();
    fake.platform.setAudio(std::move(owned));
    form = fake.app->CreateForm<TSoundTestForm>();
  }
  platform::FakeAudioState& device() { return audio->state(); }
  void load(const std::string& text = kGameSoundDescription) {
    form->LoadDescription(ParseDescription(text));
  }
  TDXSound* sound() const { return dynamic_cast<TDXSound*>(form->FindComponent("DXSound")); }
  TDXWaveList* list() const {
    return dynamic_cast<TDXWaveList*>(form->FindComponent("DXWaveList"));
  }
};

// The message of the exception the action raises; empty when it raises none.
inline std::string messageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "";
}
