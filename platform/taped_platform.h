#pragma once
// The platform of a recorded game, recording or replaying: every question the game asks
// (the clock, the counter, the events, the input devices, what the windows answer about
// themselves, the sizes of texts, the display modes, whether a sound device opened, the
// pad layouts a file added) is answered through the tape (replay_tape.h), so each is
// written once for both. What the game only does to the platform (drawing, showing,
// captions, sounds, saving files) goes to the machine when there is one.
//
// RecordingPlatform and ReplayPlatform say which machine and which tape.

#include <memory>

#include "platform/audio_system.h"
#include "platform/platform.h"
#include "platform/replay_tape.h"

namespace platform {

// What a taped platform passes the game's requests on to. Recording, every part is the
// real platform's; replaying, only the display's windows and text drawing are there, and
// the questions' parts are null (the tape answers them).
struct TapedMachine {
  Clock* clock = nullptr;
  EventSource* events = nullptr;
  TextRenderer* text = nullptr;
  InputSystem* input = nullptr;
  Platform* windows = nullptr;  // makes the windows and knows the display modes
  AudioSystem* audio = nullptr;
  LibraryLoader* libraries = nullptr;
  Files* files = nullptr;
  // Parts the taped platform keeps itself, when audio or libraries point to them.
  std::unique_ptr<AudioSystem> ownAudio;
  std::unique_ptr<LibraryLoader> ownLibraries;
};

class TapedPlatform : public Platform {
 public:
  TapedPlatform(std::unique_ptr<ReplayTape> tape, TapedMachine machine);
  ~TapedPlatform() override;

  Clock& clock() override;
  EventSource& events() override;
  LibraryLoader& libraries() override { return *machine_.libraries; }
  TextRenderer& text() override;
  InputSystem& input() override;
  AudioSystem& audio() override;
  std::unique_ptr<Window> createWindow(const WindowDesc& desc) override;
  std::vector<DisplayMode> displayModes() override;
  DisplayMode desktopMode() override;
  std::string executablePath() override;
  Files& files() override { return *machine_.files; }

  // The game's check of its state after a frame.
  void frame(uint32_t number, uint64_t digest) { tape_->frame(number, digest); }

 protected:
  ReplayTape& tape() { return *tape_; }
  const ReplayTape& tape() const { return *tape_; }

 private:
  std::unique_ptr<ReplayTape> tape_;
  TapedMachine machine_;
  std::unique_ptr<Clock> clock_;
  std::unique_ptr<EventSource> events_;
  std::unique_ptr<TextRenderer> text_;
  std::unique_ptr<InputSystem> input_;
  std::unique_ptr<AudioSystem> audio_;
};

}  // namespace platform
