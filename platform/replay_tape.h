#pragma once
// The tape that a recorded game's platform answers through: while recording, every answer
// comes from the machine and is written down; while replaying, every answer comes from
// the recording, in the order it was recorded, and the machine is never asked. The
// platform's wrappers (taped_platform.h) ask each question once, in answer(), for both.
//
// A replay stops when the game asks for something the recording does not hold next: from
// then on every answer is a harmless default, and no answer is ever read from the wrong
// place in the file.

#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/replay_file.h"

namespace platform {

class ReplayTape {
 public:
  // Recording into the writer, which must outlive the tape.
  explicit ReplayTape(ReplayWriter& writer) : writer_(&writer) {}
  // Replaying from the reader (checked whole beforehand, see ReplayReader::check). The
  // display, when there is one, shows the replay; both must outlive the tape.
  ReplayTape(ReplayReader& reader, Platform* display) : reader_(&reader), display_(display) {}

  // The answer to one question of the game. Recording: the machine's (ask()), written
  // down. Replaying: the recorded one, or `otherwise` once the replay has stopped.
  template <ReplayKind K, typename Ask>
  ReplayValueOf<K> answer(Ask&& ask, ReplayValueOf<K> otherwise = {}) {
    if (writer_ != nullptr) {
      ReplayValueOf<K> value = ask();
      writer_->write(ReplayRecord::of<K>(value));
      return value;
    }
    const ReplayRecord* r = expect(K);
    return r != nullptr ? r->as<K>() : std::move(otherwise);
  }

  // A poll of the events: an Event record for an event, NoEvent for none. Replaying, a
  // replay that has stopped or ended polls a request to close, so that the game ends.
  template <typename Ask>
  bool poll(Event& event, Ask&& ask) {
    if (writer_ != nullptr) {
      const bool polled = ask(event);
      writer_->write(polled ? ReplayRecord::of<ReplayKind::Event>(event)
                            : ReplayRecord::of<ReplayKind::NoEvent>({}));
      return polled;
    }
    pumpDisplay();
    const ReplayRecord* r = expect(ReplayKind::NoEvent, ReplayKind::Event);
    if (r == nullptr) {
      if (running()) return false;
      event = Event{};
      event.kind = EventKind::Close;
      return true;
    }
    if (r->kind == ReplayKind::NoEvent) return false;
    event = r->as<ReplayKind::Event>();
    return true;
  }

  // Writes down the game's own check of its state after a frame; replaying, compares it
  // with the recorded one and stops the replay where they differ.
  void frame(uint32_t number, uint64_t digest);
  // Replaying: the game has ended, its end state must be the recorded one, and the
  // recording must end here too.
  void finish(const std::string& endState, uint64_t digest);

  bool replaying() const { return reader_ != nullptr; }
  // The display that shows a replay; null while recording and for a headless replay.
  Platform* display() const { return display_; }
  const ReplayHeader& header() const { return reader_->header(); }
  bool running() const { return state_ == State::Running; }
  // The display's own events: a close request from the player stops the replay; the rest
  // only keeps the windows alive.
  void pumpDisplay();

  // Why the replay stopped early (empty while it runs or when it ran to the end).
  const std::string& failure() const { return failure_; }
  // The player closed the replay's window.
  bool interrupted() const { return interrupted_; }
  // The number of the last frame that was checked.
  uint32_t lastFrame() const { return frame_; }

 private:
  enum class State { Running, Stopped, Ended };
  // The next record when it is of this kind (or of `other`); otherwise the replay stops
  // here. Null once the replay has stopped or ended.
  const ReplayRecord* expect(ReplayKind kind, std::optional<ReplayKind> other = std::nullopt);
  void stop(const std::string& reason);
  // Where the game is: in the frame after the last one checked, or still starting.
  std::string where() const;

  ReplayWriter* writer_ = nullptr;
  ReplayReader* reader_ = nullptr;
  Platform* display_ = nullptr;
  State state_ = State::Running;
  std::string failure_;
  bool interrupted_ = false;
  uint32_t frame_ = 0;
};

}  // namespace platform
