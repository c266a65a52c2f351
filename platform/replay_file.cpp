#include "platform/replay_file.h"

#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace platform {
namespace {

constexpr char kMagic[8] = {'R', 'M', 'W', '-', 'G', 'A', 'M', 'E'};
constexpr size_t kPrefixSize = sizeof kMagic + 2;
constexpr size_t kChunk = size_t{64} * 1024;
constexpr size_t kMaxText = size_t{16} * 1024 * 1024;
constexpr uint64_t kMaxAttachments = 64;
constexpr uint64_t kMaxModes = 4096;
constexpr uint64_t kMaxHapticKinds = 64;

const char* const kCutShort = "the recording is cut short";
const char* const kDamaged = "the recording is damaged";

// How a record of each kind is laid out after its kind byte: one table for both the
// writer and the reader.
enum class Layout {
  Nothing,
  Ticks,    // zigzag change from the previous reading, 32 bits wrapping
  Counter,  // zigzag change from the previous reading, 64 bits wrapping
  Flag,     // a byte, 0 or 1
  Number,   // a zigzag number
  Event,
  Keys,       // the changed entries of the key table: count, then index and value each
  Mouse,      // a flag, then the reading when read
  Joystick,   // a flag, then the reading when read
  Kinds,      // count, then a byte each
  Size,       // two zigzag numbers
  Rectangle,  // four zigzag numbers
  Placement,  // four zigzag numbers and a flag
  Text,
  Modes,  // count, then four zigzag numbers each
  Frame,  // the frame's number, then the digest's eight bytes
  End,    // the end state's text, then the digest's eight bytes
};

Layout layoutOf(ReplayKind kind) {
  switch (kind) {
    case ReplayKind::Ticks:
      return Layout::Ticks;
    case ReplayKind::Counter:
      return Layout::Counter;
    case ReplayKind::NoEvent:
      return Layout::Nothing;
    case ReplayKind::Event:
      return Layout::Event;
    case ReplayKind::Keyboard:
      return Layout::Keys;
    case ReplayKind::Mouse:
      return Layout::Mouse;
    case ReplayKind::JoystickRead:
      return Layout::Joystick;
    case ReplayKind::OpenJoystick:
    case ReplayKind::JoystickAttached:
    case ReplayKind::JoystickHaptic:
    case ReplayKind::HapticUpdate:
    case ReplayKind::HapticRun:
    case ReplayKind::HapticStop:
    case ReplayKind::HapticAutocenter:
    case ReplayKind::DeviceLayer:
    case ReplayKind::WindowVisible:
    case ReplayKind::WindowFullscreen:
    case ReplayKind::WindowPresent:
    case ReplayKind::AudioDevice:
      return Layout::Flag;
    case ReplayKind::JoystickCount:
    case ReplayKind::JoystickChanges:
    case ReplayKind::JoystickAxes:
    case ReplayKind::JoystickButtons:
    case ReplayKind::HapticCreate:
    case ReplayKind::HapticStatus:
    case ReplayKind::CreateWindow:
    case ReplayKind::PadLayouts:
      return Layout::Number;
    case ReplayKind::HapticKinds:
      return Layout::Kinds;
    case ReplayKind::TextExtent:
      return Layout::Size;
    case ReplayKind::WindowWorkArea:
    case ReplayKind::WindowFrame:
    case ReplayKind::DesktopMode:
      return Layout::Rectangle;
    case ReplayKind::WindowPlacement:
      return Layout::Placement;
    case ReplayKind::WindowCaption:
    case ReplayKind::ExecutablePath:
      return Layout::Text;
    case ReplayKind::DisplayModes:
      return Layout::Modes;
    case ReplayKind::Frame:
      return Layout::Frame;
    case ReplayKind::End:
      return Layout::End;
  }
  return Layout::Nothing;
}

uint8_t buttonBits(const std::array<bool, 4>& buttons) {
  uint8_t bits = 0;
  for (size_t i = 0; i < buttons.size(); ++i) bits |= static_cast<uint8_t>(buttons[i] << i);
  return bits;
}

}  // namespace

// ---- writing ----

struct ReplayWriter::Stream {
  z_stream z{};
  bool started = false;
  ~Stream() {
    if (started) deflateEnd(&z);
  }
};

ReplayWriter::ReplayWriter(const std::string& path, const ReplayHeader& header)
    : path_(path), tempPath_(path + ".part") {
  file_.reset(std::fopen(tempPath_.c_str(), "wb"));
  if (file_ == nullptr) {
    throw ReplayFileError(std::string("cannot be written: ") + std::strerror(errno));
  }
  stream_ = std::make_unique<Stream>();
  if (deflateInit(&stream_->z, Z_DEFAULT_COMPRESSION) != Z_OK) {
    fail("cannot start compressing");
    throw ReplayFileError("cannot be written: no memory to compress");
  }
  stream_->started = true;
  std::fwrite(kMagic, 1, sizeof kMagic, file_.get());
  const uint8_t format[2] = {static_cast<uint8_t>(kReplayFormat & 0xFF),
                             static_cast<uint8_t>(kReplayFormat >> 8)};
  std::fwrite(format, 1, sizeof format, file_.get());
  putVarint(header.counterFrequency);
  putVarint(header.attachments.size());
  for (const auto& [name, bytes] : header.attachments) {
    putString(name);
    putString(bytes);
  }
}

ReplayWriter::~ReplayWriter() {
  if (file_ != nullptr) {
    file_.reset();
    std::remove(tempPath_.c_str());
  }
}

void ReplayWriter::putVarint(uint64_t value) {
  while (value >= 0x80) {
    putByte(static_cast<uint8_t>(value | 0x80));
    value >>= 7;
  }
  putByte(static_cast<uint8_t>(value));
}

void ReplayWriter::putSigned(int64_t value) {
  const auto bits = static_cast<uint64_t>(value);
  putVarint((bits << 1) ^ (value < 0 ? ~uint64_t{0} : 0));
}

void ReplayWriter::putBits(const std::array<bool, 128>& bits) {
  for (size_t i = 0; i < bits.size(); i += 8) {
    uint8_t byte = 0;
    for (size_t b = 0; b < 8; ++b) byte |= static_cast<uint8_t>(bits[i + b] << b);
    putByte(byte);
  }
}

void ReplayWriter::putString(const std::string& text) {
  putVarint(text.size());
  pending_ += text;
}

void ReplayWriter::write(const ReplayRecord& record) {
  if (file_ == nullptr || finished_) return;
  putRecord(record);
  if (pending_.size() >= kChunk) compress(false);
}

void ReplayWriter::putRecord(const ReplayRecord& r) {
  putByte(static_cast<uint8_t>(r.kind));
  switch (layoutOf(r.kind)) {
    case Layout::Nothing:
      break;
    case Layout::Ticks: {
      const auto ticks = static_cast<uint32_t>(r.value);
      putSigned(static_cast<int32_t>(ticks - lastTicks_));
      lastTicks_ = ticks;
      break;
    }
    case Layout::Counter: {
      const auto counter = static_cast<uint64_t>(r.value);
      putSigned(static_cast<int64_t>(counter - lastCounter_));
      lastCounter_ = counter;
      break;
    }
    case Layout::Flag:
      putByte(r.value != 0);
      break;
    case Layout::Number:
      putSigned(r.value);
      break;
    case Layout::Event:
      putByte(static_cast<uint8_t>(r.event.kind));
      putVarint(r.event.window);
      putSigned(r.event.x);
      putSigned(r.event.y);
      putByte(static_cast<uint8_t>(r.event.button));
      putVarint(r.event.key);
      putVarint(r.event.shift);
      putString(r.event.text);
      break;
    case Layout::Keys: {
      std::string changes;
      for (size_t i = 0; i < r.keys.size(); ++i) {
        if (r.keys[i] == lastKeys_[i]) continue;
        changes += static_cast<char>(i);
        changes += static_cast<char>(r.keys[i]);
      }
      putVarint(changes.size() / 2);
      pending_ += changes;
      lastKeys_ = r.keys;
      break;
    }
    case Layout::Mouse:
      putByte(r.value != 0);
      if (r.value != 0) {
        putSigned(r.mouse.x);
        putSigned(r.mouse.y);
        putSigned(r.mouse.z);
        putByte(buttonBits(r.mouse.buttons));
      }
      break;
    case Layout::Joystick:
      putByte(r.value != 0);
      if (r.value != 0) {
        for (int32_t axis : r.joystick.axes) putSigned(axis);
        putSigned(r.joystick.axisMin);
        putSigned(r.joystick.axisMax);
        putSigned(r.joystick.pov);
        putBits(r.joystick.buttons);
        putBits(r.joystick.pressed);
      }
      break;
    case Layout::Kinds:
      putVarint(r.hapticKinds.size());
      for (HapticKind kind : r.hapticKinds) putByte(static_cast<uint8_t>(kind));
      break;
    case Layout::Size:
      putSigned(r.numbers[0]);
      putSigned(r.numbers[1]);
      break;
    case Layout::Rectangle:
    case Layout::Placement:
      for (int32_t n : r.numbers) putSigned(n);
      if (layoutOf(r.kind) == Layout::Placement) putByte(r.value != 0);
      break;
    case Layout::Text:
      putString(r.text);
      break;
    case Layout::Modes:
      putVarint(r.modes.size());
      for (const DisplayMode& m : r.modes) {
        putSigned(m.width);
        putSigned(m.height);
        putSigned(m.bitCount);
        putSigned(m.refreshRate);
      }
      break;
    case Layout::Frame:
    case Layout::End:
      if (r.kind == ReplayKind::Frame) {
        putVarint(static_cast<uint64_t>(r.value));
      } else {
        putString(r.text);
      }
      for (int shift = 0; shift < 64; shift += 8) putByte(static_cast<uint8_t>(r.digest >> shift));
      break;
  }
}

void ReplayWriter::compress(bool last) {
  if (file_ == nullptr) return;
  z_stream* z = &stream_->z;
  z->next_in = reinterpret_cast<Bytef*>(pending_.data());
  z->avail_in = static_cast<uInt>(pending_.size());
  unsigned char out[kChunk];
  int result = Z_OK;
  do {
    z->next_out = out;
    z->avail_out = sizeof out;
    result = deflate(z, last ? Z_FINISH : Z_NO_FLUSH);
    if (result == Z_STREAM_ERROR) return fail("cannot compress");
    const size_t produced = sizeof out - z->avail_out;
    if (std::fwrite(out, 1, produced, file_.get()) != produced) {
      return fail(std::strerror(errno));
    }
  } while (z->avail_out == 0 || (last && result != Z_STREAM_END));
  pending_.clear();
}

void ReplayWriter::fail(const char* what) {
  if (file_ != nullptr) {
    file_.reset();
    std::remove(tempPath_.c_str());
  }
  pending_ = what;  // the reason, for finish to report
}

void ReplayWriter::finish(const std::string& endState, uint64_t digest) {
  if (finished_) return;
  if (file_ != nullptr) {
    ReplayRecord end;
    end.kind = ReplayKind::End;
    end.text = endState;
    end.digest = digest;
    putRecord(end);
    compress(true);
  }
  if (file_ == nullptr) throw ReplayFileError("cannot be written: " + pending_);
  std::FILE* file = file_.release();  // closed by hand: a failed close fails the recording
  const bool synced = std::fflush(file) == 0 && fsync(fileno(file)) == 0;
  const bool closed = std::fclose(file) == 0;
  if (!synced || !closed || std::rename(tempPath_.c_str(), path_.c_str()) != 0) {
    const std::string reason = std::strerror(errno);
    std::remove(tempPath_.c_str());
    throw ReplayFileError("cannot be written: " + reason);
  }
  finished_ = true;
}

// ---- reading ----

struct ReplayReader::Stream {
  z_stream z{};
  bool started = false;
  ~Stream() {
    if (started) inflateEnd(&z);
  }
};

ReplayReader::ReplayReader(std::vector<uint8_t> file) : file_(std::move(file)), buffer_(kChunk) {
  const size_t known = std::min(file_.size(), sizeof kMagic);
  if (file_.empty() || std::memcmp(file_.data(), kMagic, known) != 0) {
    throw ReplayFileError("not a recorded game of Reefmaw");
  }
  if (file_.size() < kPrefixSize) throw ReplayFileError(kCutShort);
  const int format = file_[8] | file_[9] << 8;
  if (format > kReplayFormat) {
    throw ReplayFileError("recorded by a newer version of Reefmaw (format " +
                          std::to_string(format) + "; this version reads format " +
                          std::to_string(kReplayFormat) + ")");
  }
  if (format < 1) throw ReplayFileError(kDamaged);
  stream_ = std::make_unique<Stream>();
  z_stream* z = &stream_->z;
  if (inflateInit(z) != Z_OK) throw ReplayFileError("cannot be read: no memory to decompress");
  stream_->started = true;
  z->next_in = file_.data() + kPrefixSize;
  z->avail_in = static_cast<uInt>(file_.size() - kPrefixSize);
  header_.counterFrequency = getVarint();
  const uint64_t count = getVarint();
  if (count > kMaxAttachments) throw ReplayFileError(kDamaged);
  for (uint64_t i = 0; i < count; ++i) {
    std::string name = getString();
    header_.attachments[name] = getString();
  }
}

ReplayReader::~ReplayReader() = default;

bool ReplayReader::refill() {
  if (streamEnded_) return false;
  z_stream* z = &stream_->z;
  z->next_out = buffer_.data();
  z->avail_out = static_cast<uInt>(buffer_.size());
  while (z->avail_out == buffer_.size()) {
    const int result = inflate(z, Z_NO_FLUSH);
    if (result == Z_STREAM_END) {
      streamEnded_ = true;
      break;
    }
    if (result == Z_BUF_ERROR && z->avail_in == 0) throw ReplayFileError(kCutShort);
    if (result != Z_OK) throw ReplayFileError(kDamaged);
  }
  position_ = 0;
  available_ = buffer_.size() - z->avail_out;
  return available_ > 0;
}

uint8_t ReplayReader::getByte() {
  if (position_ == available_ && !refill()) throw ReplayFileError(kDamaged);
  return buffer_[position_++];
}

uint64_t ReplayReader::getVarint() {
  uint64_t value = 0;
  for (int shift = 0; shift < 64; shift += 7) {
    const uint8_t byte = getByte();
    value |= uint64_t{byte & 0x7Fu} << shift;
    if ((byte & 0x80) == 0) return value;
  }
  throw ReplayFileError(kDamaged);
}

int64_t ReplayReader::getSigned() {
  const uint64_t bits = getVarint();
  return static_cast<int64_t>((bits >> 1) ^ (~(bits & 1) + 1));
}

int32_t ReplayReader::getInt32() {
  const int64_t value = getSigned();
  if (value < INT32_MIN || value > INT32_MAX) throw ReplayFileError(kDamaged);
  return static_cast<int32_t>(value);
}

bool ReplayReader::getBool() {
  const uint8_t byte = getByte();
  if (byte > 1) throw ReplayFileError(kDamaged);
  return byte == 1;
}

void ReplayReader::getBits(std::array<bool, 128>& bits) {
  for (size_t i = 0; i < bits.size(); i += 8) {
    const uint8_t byte = getByte();
    for (size_t b = 0; b < 8; ++b) bits[i + b] = (byte >> b & 1) != 0;
  }
}

std::string ReplayReader::getString() {
  const uint64_t size = getVarint();
  if (size > kMaxText) throw ReplayFileError(kDamaged);
  std::string text;
  for (uint64_t i = 0; i < size; ++i) text += static_cast<char>(getByte());
  return text;
}

const ReplayRecord& ReplayReader::next() {
  if (!ended_) getRecord();
  return record_;
}

void ReplayReader::getRecord() {
  ReplayRecord& r = record_;
  const uint8_t kind = getByte();
  if (kind < 1 || kind > kLastReplayKind) throw ReplayFileError(kDamaged);
  r.kind = static_cast<ReplayKind>(kind);
  switch (layoutOf(r.kind)) {
    case Layout::Nothing:
      break;
    case Layout::Ticks:
      lastTicks_ += static_cast<uint32_t>(getInt32());
      r.value = lastTicks_;
      break;
    case Layout::Counter:
      lastCounter_ += static_cast<uint64_t>(getSigned());
      r.value = static_cast<int64_t>(lastCounter_);
      break;
    case Layout::Flag:
      r.value = getBool();
      break;
    case Layout::Number:
      r.value = getSigned();
      break;
    case Layout::Event: {
      const uint8_t eventKind = getByte();
      if (eventKind > static_cast<uint8_t>(EventKind::RenderReset)) throw ReplayFileError(kDamaged);
      r.event.kind = static_cast<EventKind>(eventKind);
      const uint64_t window = getVarint();
      if (window > UINT32_MAX) throw ReplayFileError(kDamaged);
      r.event.window = static_cast<uint32_t>(window);
      r.event.x = getInt32();
      r.event.y = getInt32();
      const uint8_t button = getByte();
      if (button > static_cast<uint8_t>(MouseButton::Middle)) throw ReplayFileError(kDamaged);
      r.event.button = static_cast<MouseButton>(button);
      const uint64_t key = getVarint();
      const uint64_t shift = getVarint();
      if (key > UINT16_MAX || shift > UINT32_MAX) throw ReplayFileError(kDamaged);
      r.event.key = static_cast<uint16_t>(key);
      r.event.shift = static_cast<uint32_t>(shift);
      r.event.text = getString();
      break;
    }
    case Layout::Keys: {
      const uint64_t changes = getVarint();
      if (changes > r.keys.size()) throw ReplayFileError(kDamaged);
      for (uint64_t i = 0; i < changes; ++i) {
        const uint8_t index = getByte();
        r.keys[index] = getByte();
      }
      break;
    }
    case Layout::Mouse:
      r.value = getBool();
      if (r.value != 0) {
        r.mouse.x = getInt32();
        r.mouse.y = getInt32();
        r.mouse.z = getInt32();
        const uint8_t bits = getByte();
        if (bits > 0x0F) throw ReplayFileError(kDamaged);
        for (size_t i = 0; i < r.mouse.buttons.size(); ++i) {
          r.mouse.buttons[i] = (bits >> i & 1) != 0;
        }
      }
      break;
    case Layout::Joystick:
      r.value = getBool();
      if (r.value != 0) {
        for (int32_t& axis : r.joystick.axes) axis = getInt32();
        r.joystick.axisMin = getInt32();
        r.joystick.axisMax = getInt32();
        r.joystick.pov = getInt32();
        getBits(r.joystick.buttons);
        getBits(r.joystick.pressed);
      }
      break;
    case Layout::Kinds: {
      const uint64_t count = getVarint();
      if (count > kMaxHapticKinds) throw ReplayFileError(kDamaged);
      r.hapticKinds.clear();
      for (uint64_t i = 0; i < count; ++i) {
        const uint8_t hapticKind = getByte();
        if (hapticKind > static_cast<uint8_t>(HapticKind::Friction)) {
          throw ReplayFileError(kDamaged);
        }
        r.hapticKinds.push_back(static_cast<HapticKind>(hapticKind));
      }
      break;
    }
    case Layout::Size:
      r.numbers[0] = getInt32();
      r.numbers[1] = getInt32();
      break;
    case Layout::Rectangle:
    case Layout::Placement:
      for (int32_t& n : r.numbers) n = getInt32();
      if (layoutOf(r.kind) == Layout::Placement) r.value = getBool();
      break;
    case Layout::Text:
      r.text = getString();
      break;
    case Layout::Modes: {
      const uint64_t count = getVarint();
      if (count > kMaxModes) throw ReplayFileError(kDamaged);
      r.modes.clear();
      for (uint64_t i = 0; i < count; ++i) {
        DisplayMode m;
        m.width = getInt32();
        m.height = getInt32();
        m.bitCount = getInt32();
        m.refreshRate = getInt32();
        r.modes.push_back(m);
      }
      break;
    }
    case Layout::Frame:
    case Layout::End:
      if (r.kind == ReplayKind::Frame) {
        const uint64_t frame = getVarint();
        if (frame > UINT32_MAX) throw ReplayFileError(kDamaged);
        r.value = static_cast<int64_t>(frame);
      } else {
        r.text = getString();
      }
      r.digest = 0;
      for (int shift = 0; shift < 64; shift += 8) r.digest |= uint64_t{getByte()} << shift;
      ended_ = r.kind == ReplayKind::End;
      break;
  }
}

std::string ReplayReader::check(const std::vector<uint8_t>& file) {
  ReplayReader reader(file);
  while (!reader.ended()) reader.next();
  // Nothing may follow End: no more records, no bytes after the compressed stream.
  if (reader.position_ != reader.available_ || reader.refill()) throw ReplayFileError(kDamaged);
  if (!reader.streamEnded_ || reader.stream_->z.avail_in != 0) {
    throw ReplayFileError(kDamaged);
  }
  return reader.record_.text;
}

std::vector<uint8_t> readReplayFile(const std::string& path) {
  const FileUniquePtr file(std::fopen(path.c_str(), "rb"));
  if (file == nullptr)
    throw ReplayFileError(std::string("cannot be read: ") + std::strerror(errno));
  std::vector<uint8_t> bytes;
  uint8_t chunk[kChunk];
  size_t count = 0;
  while ((count = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
    bytes.insert(bytes.end(), chunk, chunk + count);
  }
  const int error = std::ferror(file.get()) != 0 ? errno : 0;  // a folder opens but does not read
  if (error != 0) throw ReplayFileError(std::string("cannot be read: ") + std::strerror(error));
  return bytes;
}

}  // namespace platform
