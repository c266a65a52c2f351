#pragma once
// A platform that plays on another one (the real one) and writes down, for a replay,
// everything that one tells the game: each reading of the clock and of the
// high-resolution counter, every polled event, the keyboard, mouse and joystick states,
// what the windows answer about themselves, the sizes of texts, the display modes and
// whether a sound device opened, the pad layouts a file added. What the game only does to
// the platform (drawing, showing, captions, sounds, saving files) passes through
// unrecorded.

#include "platform/platform.h"
#include "platform/replay_file.h"
#include "platform/taped_platform.h"

namespace platform {

class RecordingPlatform final : public TapedPlatform {
 public:
  // Both must outlive this platform. frame() writes the game's own check of its state
  // after a frame in order with the answers.
  RecordingPlatform(Platform& real, ReplayWriter& writer);
};

}  // namespace platform
