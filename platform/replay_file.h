#pragma once
// The file of a recorded game: every answer the platform gave the game, in the order the
// game asked for it, with the game's own checks of its state between them and at the
// end. Replaying it gives the game the same answers in the same order, so the game plays
// the same game again.
//
// Layout: the eight bytes "RMW-GAME", the format number (16 bits, little-endian), then
// one zlib stream to the end of the file holding a header (the high-resolution counter's
// frequency and named attachments such as the records table read at start) and the
// records, the last of which is End. Numbers are LEB128 varints (signed ones zigzagged);
// the clock, the counter and the keyboard table are stored as changes from their previous
// reading, which makes a long game small.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/replay_kinds.h"
#include "platform/safe_save.h"

namespace platform {

// The format this program writes, and the newest it reads.
inline constexpr uint16_t kReplayFormat = 1;

struct ReplayHeader {
  uint64_t counterFrequency = 0;
  // Files the game read at start, by name; a name that is missing stands for a file that
  // was not there.
  std::map<std::string, std::string> attachments;
};

// A file that cannot be replayed: its message is one line, without the file's name.
class ReplayFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes a recording while the game runs. The file is saved as every file of the game is
// (safe_save.h): under a temporary name beside the target, taking the target's name only
// when finished, so a recording cut short by a crash never passes for a whole one.
class ReplayWriter {
 public:
  // Raises ReplayFileError when the file cannot be made.
  ReplayWriter(const std::string& path, const ReplayHeader& header);
  ~ReplayWriter();
  ReplayWriter(const ReplayWriter&) = delete;
  ReplayWriter& operator=(const ReplayWriter&) = delete;

  // Raises std::invalid_argument for a record whose value is not its kind's.
  void write(const ReplayRecord& record);
  // Ends the recording with the End record and puts the file in place. Raises
  // ReplayFileError when it cannot be written.
  void finish(const std::string& endState, uint64_t digest);
  bool finished() const { return finished_; }

 private:
  void putByte(uint8_t byte) { pending_.push_back(static_cast<char>(byte)); }
  void putVarint(uint64_t value);
  void putSigned(int64_t value);
  void putString(const std::string& text);
  void putBits(const std::array<bool, 128>& bits);
  void putRecord(const ReplayRecord& record);
  void compress(bool last);
  void fail(const std::string& what);

  struct Stream;  // the zlib stream

  std::unique_ptr<SafeSave> save_;  // empty once the recording failed
  std::unique_ptr<Stream> stream_;
  std::string pending_;
  uint32_t lastTicks_ = 0;
  uint64_t lastCounter_ = 0;
  KeyTable lastKeys_{};
  bool finished_ = false;
};

// Reads a recording from its bytes, record by record.
class ReplayReader {
 public:
  // Raises ReplayFileError for a file that is not a recording, one of a newer format, or
  // one whose header cannot be read.
  explicit ReplayReader(std::vector<uint8_t> file);
  ~ReplayReader();
  ReplayReader(const ReplayReader&) = delete;
  ReplayReader& operator=(const ReplayReader&) = delete;

  const ReplayHeader& header() const { return header_; }
  // The next record; once End has been read, End again. Raises ReplayFileError for a
  // file cut short or damaged.
  const ReplayRecord& next();
  bool ended() const { return ended_; }

  // Reads a whole recording through to its end: raises ReplayFileError unless every
  // record reads, the last is End, and nothing follows it. Gives the recorded end state.
  static std::string check(const std::vector<uint8_t>& file);

 private:
  uint8_t getByte();
  bool refill();
  uint64_t getVarint();
  int64_t getSigned();
  int32_t getInt32();
  bool getBool();
  std::string getString();
  void getBits(std::array<bool, 128>& bits);
  void getRecord();
  ReplayValue getValue(ReplayLayout layout);
  Event getEvent();
  std::optional<JoystickReading> getJoystick();
  uint64_t getDigest();

  struct Stream;  // the zlib stream

  std::vector<uint8_t> file_;
  std::unique_ptr<Stream> stream_;
  bool streamEnded_ = false;
  std::vector<uint8_t> buffer_;
  size_t position_ = 0;
  size_t available_ = 0;
  ReplayHeader header_;
  ReplayRecord record_;
  uint32_t lastTicks_ = 0;
  uint64_t lastCounter_ = 0;
  KeyTable lastKeys_{};
  bool ended_ = false;
};

// Reads a recording's file; raises ReplayFileError when it cannot be read.
std::vector<uint8_t> readReplayFile(const std::string& path);

}  // namespace platform
