#pragma once
// A platform that plays on another one (the real one) and writes down, for a replay,
// everything that one tells the game: each reading of the clock and of the
// high-resolution counter, every polled event, the keyboard, mouse and joystick states,
// what the windows answer about themselves, the sizes of texts, the display modes and
// whether a sound device opened, the pad layouts a file added. What the game only does to
// the platform (drawing, showing, captions, sounds, saving files) passes through
// unrecorded.

#include <memory>

#include "platform/platform.h"
#include "platform/replay_file.h"

namespace platform {

class RecordingPlatform final : public Platform {
 public:
  // Both must outlive this platform.
  RecordingPlatform(Platform& real, ReplayWriter& writer);
  ~RecordingPlatform() override;

  Clock& clock() override;
  EventSource& events() override;
  LibraryLoader& libraries() override { return real_.libraries(); }
  TextRenderer& text() override;
  InputSystem& input() override;
  AudioSystem& audio() override;
  std::unique_ptr<Window> createWindow(const WindowDesc& desc) override;
  std::vector<DisplayMode> displayModes() override;
  DisplayMode desktopMode() override;
  std::string executablePath() override;
  // Saves go to the real platform's files as they are.
  Files& files() override { return real_.files(); }

  // The game's own check of its state after a frame, written in order with the answers.
  void frame(uint32_t number, uint64_t digest);

  // The recorder that all the wrappers write through.
  class Log;

 private:
  Platform& real_;
  std::unique_ptr<Log> log_;
  std::unique_ptr<Clock> clock_;
  std::unique_ptr<EventSource> events_;
  std::unique_ptr<TextRenderer> text_;
  std::unique_ptr<InputSystem> input_;
  std::unique_ptr<AudioSystem> audio_;
};

}  // namespace platform
