#include "platform/replay_tape.h"

namespace platform {

const ReplayRecord* ReplayTape::expect(ReplayKind kind, std::optional<ReplayKind> other) {
  if (state_ != State::Running) return nullptr;
  const ReplayRecord* record = nullptr;
  try {
    record = &reader_->next();
  } catch (const ReplayFileError& e) {
    stop(std::string(e.what()) + " " + where());
    return nullptr;
  }
  if (record->kind == kind || (other && record->kind == *other)) return record;
  const std::string asked = replayKindInfo(kind).asked;
  if (record->kind == ReplayKind::End) {
    stop("the game goes on past the end of the recording, " + where() + " (it asks for " + asked +
         ")");
  } else {
    stop("the game leaves the recording " + where() + ": it asks for " + asked +
         " where the recording holds " + replayKindInfo(record->kind).asked);
  }
  return nullptr;
}

void ReplayTape::stop(const std::string& reason) {
  if (state_ != State::Running) return;
  state_ = State::Stopped;
  failure_ = reason;
}

std::string ReplayTape::where() const {
  return frame_ == 0 ? "at start-up" : "at frame " + std::to_string(frame_ + 1);
}

void ReplayTape::pumpDisplay() {
  if (display_ == nullptr) return;
  Event event;
  while (display_->events().poll(event)) {
    if (event.kind == EventKind::Close && state_ == State::Running) {
      state_ = State::Stopped;
      interrupted_ = true;
    }
  }
}

void ReplayTape::frame(uint32_t number, uint64_t digest) {
  if (writer_ != nullptr) {
    writer_->write(ReplayRecord::of<ReplayKind::Frame>({number, digest}));
    return;
  }
  const ReplayRecord* r = expect(ReplayKind::Frame);
  if (r == nullptr) return;
  const FrameCheck& recorded = r->as<ReplayKind::Frame>();
  if (recorded.number != number) {
    stop("the game's frames leave the recording at frame " + std::to_string(number));
  } else if (recorded.digest != digest) {
    stop("the game's state differs from the recording at frame " + std::to_string(number));
  } else {
    frame_ = number;
  }
}

void ReplayTape::finish(const std::string& endState, uint64_t digest) {
  if (writer_ != nullptr) return;  // the writer ends the recording itself
  const ReplayRecord* r = expect(ReplayKind::End);
  if (r == nullptr) return;
  const EndCheck& recorded = r->as<ReplayKind::End>();
  // A replay whose printed line matches but whose hidden state differs did not replay.
  if (recorded.state != endState || recorded.digest != digest) {
    stop("the end state differs from the recording (recorded: " + recorded.state + ")");
    return;
  }
  state_ = State::Ended;
}

}  // namespace platform
