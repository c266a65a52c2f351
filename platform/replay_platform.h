#pragma once
// A platform that answers the game from a recording instead of from the machine: the
// clock, the counter, the events, the input devices, the windows' answers and the text
// sizes all come from the file, in the order they were recorded. The game therefore
// plays the recorded game again, frame for frame, and checks its state against the
// recorded one after every frame.
//
// Headless (no display), it shows nothing and waits for nothing: windows exist only as
// the answers they gave, and the game runs as fast as it can. With a display (the real
// platform), the windows show the game at its recorded pace, and closing one of them
// stops the replay.
//
// When the game asks for something the recording does not hold next, or its state after
// a frame differs from the recorded one, the replay stops: from then on every answer is
// a harmless default, and polling gives a request to close the program, so the game
// ends at once. No answer is ever read from the wrong place in the file.

#include <string>

#include "platform/platform.h"
#include "platform/replay_file.h"
#include "platform/taped_platform.h"

namespace platform {

class ReplayPlatform final : public TapedPlatform {
 public:
  // The reader (checked whole beforehand, see ReplayReader::check) and the display, when
  // there is one, must outlive this platform. Saves are real: the game's own paths lead
  // them into the replay's own folder. frame() stops the replay where the game's state
  // after a frame differs from the recorded one.
  ReplayPlatform(ReplayReader& reader, Platform* display);

  // The game has ended: its end state must be the recorded one, and the recording must
  // end here too.
  void finish(const std::string& endState, uint64_t digest) { tape().finish(endState, digest); }

  // Why the replay stopped early (empty while it runs or when it ran to the end).
  const std::string& failure() const { return tape().failure(); }
  // The player closed the replay's window.
  bool interrupted() const { return tape().interrupted(); }
  // The number of the last frame that was checked.
  uint32_t lastFrame() const { return tape().lastFrame(); }
};

}  // namespace platform
