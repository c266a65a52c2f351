// The writer and the reader of recorded games side by side (about 500 lines): each layout
// is read here beside the way it is written, so that the two never drift apart.

#include "platform/replay_file.h"

#include <zlib.h>

#include <algorithm>
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

// Calls the overload of its argument's type, for std::visit.
template <typename... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <typename... F>
Overloaded(F...) -> Overloaded<F...>;

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

ReplayWriter::ReplayWriter(const std::string& path, const ReplayHeader& header) {
  try {
    save_ = std::make_unique<SafeSave>(systemFiles(), path);
  } catch (const SaveError& e) {
    throw ReplayFileError(std::string("cannot be written: ") + e.what());
  }
  stream_ = std::make_unique<Stream>();
  if (deflateInit(&stream_->z, Z_DEFAULT_COMPRESSION) != Z_OK) {
    fail("cannot start compressing");
    throw ReplayFileError("cannot be written: no memory to compress");
  }
  stream_->started = true;
  const char format[2] = {static_cast<char>(kReplayFormat & 0xFF),
                          static_cast<char>(kReplayFormat >> 8)};
  try {
    save_->write(kMagic, sizeof kMagic);
    save_->write(format, sizeof format);
  } catch (const SaveError& e) {
    throw ReplayFileError(std::string("cannot be written: ") + e.what());
  }
  putVarint(header.counterFrequency);
  putVarint(header.attachments.size());
  for (const auto& [name, bytes] : header.attachments) {
    putString(name);
    putString(bytes);
  }
}

ReplayWriter::~ReplayWriter() = default;

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
  if (record.kind < ReplayKind::Ticks || static_cast<uint8_t>(record.kind) > kLastReplayKind ||
      record.value.index() != static_cast<size_t>(replayKindInfo(record.kind).layout)) {
    throw std::invalid_argument("a replay record whose value is not its kind's");
  }
  if (save_ == nullptr || finished_) return;
  putRecord(record);
  if (pending_.size() >= kChunk) compress(false);
}

void ReplayWriter::putRecord(const ReplayRecord& r) {
  putByte(static_cast<uint8_t>(r.kind));
  const auto digest = [this](uint64_t value) {
    for (int shift = 0; shift < 64; shift += 8) putByte(static_cast<uint8_t>(value >> shift));
  };
  std::visit(Overloaded{
                 [](std::monostate) {},
                 [this](uint32_t ticks) {
                   putSigned(static_cast<int32_t>(ticks - lastTicks_));
                   lastTicks_ = ticks;
                 },
                 [this](uint64_t counter) {
                   putSigned(static_cast<int64_t>(counter - lastCounter_));
                   lastCounter_ = counter;
                 },
                 [this](bool flag) { putByte(flag ? 1 : 0); },
                 [this](int64_t number) { putSigned(number); },
                 [this](const Event& e) {
                   putByte(static_cast<uint8_t>(e.kind));
                   putVarint(e.window);
                   putSigned(e.x);
                   putSigned(e.y);
                   putByte(static_cast<uint8_t>(e.button));
                   putVarint(e.key);
                   putVarint(e.shift);
                   putString(e.text);
                 },
                 [this](const KeyTable& keys) {
                   std::string changes;
                   for (size_t i = 0; i < keys.size(); ++i) {
                     if (keys[i] == lastKeys_[i]) continue;
                     changes += static_cast<char>(i);
                     changes += static_cast<char>(keys[i]);
                   }
                   putVarint(changes.size() / 2);
                   pending_ += changes;
                   lastKeys_ = keys;
                 },
                 [this](const std::optional<MouseReading>& mouse) {
                   putByte(mouse.has_value() ? 1 : 0);
                   if (!mouse) return;
                   putSigned(mouse->x);
                   putSigned(mouse->y);
                   putSigned(mouse->z);
                   putByte(buttonBits(mouse->buttons));
                 },
                 [this](const std::optional<JoystickReading>& stick) {
                   putByte(stick.has_value() ? 1 : 0);
                   if (!stick) return;
                   for (int32_t axis : stick->axes) putSigned(axis);
                   putSigned(stick->axisMin);
                   putSigned(stick->axisMax);
                   putSigned(stick->pov);
                   putBits(stick->buttons);
                   putBits(stick->pressed);
                 },
                 [this](const std::vector<HapticKind>& kinds) {
                   putVarint(kinds.size());
                   for (HapticKind kind : kinds) putByte(static_cast<uint8_t>(kind));
                 },
                 [this](const std::array<int32_t, 2>& size) {
                   for (int32_t n : size) putSigned(n);
                 },
                 [this](const std::array<int32_t, 4>& rectangle) {
                   for (int32_t n : rectangle) putSigned(n);
                 },
                 [this](const Placement& p) {
                   for (int32_t n : {p.x, p.y, p.width, p.height}) putSigned(n);
                   putByte(p.maximized ? 1 : 0);
                 },
                 [this](const std::string& text) { putString(text); },
                 [this](const std::vector<DisplayMode>& modes) {
                   putVarint(modes.size());
                   for (const DisplayMode& m : modes) {
                     for (int32_t n : {m.width, m.height, m.bitCount, m.refreshRate}) putSigned(n);
                   }
                 },
                 [&](const FrameCheck& frame) {
                   putVarint(frame.number);
                   digest(frame.digest);
                 },
                 [&](const EndCheck& end) {
                   putString(end.state);
                   digest(end.digest);
                 },
             },
             r.value);
}

void ReplayWriter::compress(bool last) {
  if (save_ == nullptr) return;
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
    try {
      save_->write(out, sizeof out - z->avail_out);
    } catch (const SaveError& e) {
      return fail(e.what());
    }
  } while (z->avail_out == 0 || (last && result != Z_STREAM_END));
  pending_.clear();
}

void ReplayWriter::fail(const std::string& what) {
  save_.reset();    // takes the temporary file away
  pending_ = what;  // the reason, for finish to report
}

void ReplayWriter::finish(const std::string& endState, uint64_t digest) {
  if (finished_) return;
  if (save_ != nullptr) {
    putRecord(ReplayRecord::of<ReplayKind::End>({endState, digest}));
    compress(true);
  }
  if (save_ == nullptr) throw ReplayFileError("cannot be written: " + pending_);
  try {
    save_->commit();
  } catch (const SaveError& e) {
    save_.reset();
    throw ReplayFileError(std::string("cannot be written: ") + e.what());
  }
  save_.reset();
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
  const uint8_t kind = getByte();
  if (kind < 1 || kind > kLastReplayKind) throw ReplayFileError(kDamaged);
  record_.kind = static_cast<ReplayKind>(kind);
  record_.value = getValue(replayKindInfo(record_.kind).layout);
  ended_ = record_.kind == ReplayKind::End;
}

Event ReplayReader::getEvent() {
  Event e;
  const uint8_t eventKind = getByte();
  if (eventKind > static_cast<uint8_t>(EventKind::RenderReset)) throw ReplayFileError(kDamaged);
  e.kind = static_cast<EventKind>(eventKind);
  const uint64_t window = getVarint();
  if (window > UINT32_MAX) throw ReplayFileError(kDamaged);
  e.window = static_cast<uint32_t>(window);
  e.x = getInt32();
  e.y = getInt32();
  const uint8_t button = getByte();
  if (button > static_cast<uint8_t>(MouseButton::Middle)) throw ReplayFileError(kDamaged);
  e.button = static_cast<MouseButton>(button);
  const uint64_t key = getVarint();
  const uint64_t shift = getVarint();
  if (key > UINT16_MAX || shift > UINT32_MAX) throw ReplayFileError(kDamaged);
  e.key = static_cast<uint16_t>(key);
  e.shift = static_cast<uint32_t>(shift);
  e.text = getString();
  return e;
}

std::optional<JoystickReading> ReplayReader::getJoystick() {
  if (!getBool()) return std::nullopt;
  JoystickReading stick;
  for (int32_t& axis : stick.axes) axis = getInt32();
  stick.axisMin = getInt32();
  stick.axisMax = getInt32();
  stick.pov = getInt32();
  getBits(stick.buttons);
  getBits(stick.pressed);
  return stick;
}

ReplayValue ReplayReader::getValue(ReplayLayout layout) {
  switch (layout) {
    case ReplayLayout::Nothing:
      return std::monostate{};
    case ReplayLayout::Ticks:
      lastTicks_ += static_cast<uint32_t>(getInt32());
      return lastTicks_;
    case ReplayLayout::Counter:
      lastCounter_ += static_cast<uint64_t>(getSigned());
      return lastCounter_;
    case ReplayLayout::Flag:
      return getBool();
    case ReplayLayout::Number:
      return getSigned();
    case ReplayLayout::Event:
      return getEvent();
    case ReplayLayout::Keys: {
      const uint64_t changes = getVarint();
      if (changes > lastKeys_.size()) throw ReplayFileError(kDamaged);
      for (uint64_t i = 0; i < changes; ++i) {
        const uint8_t index = getByte();
        lastKeys_[index] = getByte();
      }
      return lastKeys_;
    }
    case ReplayLayout::Mouse: {
      if (!getBool()) return std::optional<MouseReading>();
      MouseReading mouse;
      mouse.x = getInt32();
      mouse.y = getInt32();
      mouse.z = getInt32();
      const uint8_t bits = getByte();
      if (bits > 0x0F) throw ReplayFileError(kDamaged);
      for (size_t i = 0; i < mouse.buttons.size(); ++i) mouse.buttons[i] = (bits >> i & 1) != 0;
      return std::optional<MouseReading>(mouse);
    }
    case ReplayLayout::Joystick:
      return getJoystick();
    case ReplayLayout::Kinds: {
      const uint64_t count = getVarint();
      if (count > kMaxHapticKinds) throw ReplayFileError(kDamaged);
      std::vector<HapticKind> kinds;
      for (uint64_t i = 0; i < count; ++i) {
        const uint8_t hapticKind = getByte();
        if (hapticKind > static_cast<uint8_t>(HapticKind::Friction)) {
          throw ReplayFileError(kDamaged);
        }
        kinds.push_back(static_cast<HapticKind>(hapticKind));
      }
      return kinds;
    }
    case ReplayLayout::Size: {
      std::array<int32_t, 2> size{};
      for (int32_t& n : size) n = getInt32();
      return size;
    }
    case ReplayLayout::Rectangle: {
      std::array<int32_t, 4> rectangle{};
      for (int32_t& n : rectangle) n = getInt32();
      return rectangle;
    }
    case ReplayLayout::Placement: {
      Placement p;
      for (int* n : {&p.x, &p.y, &p.width, &p.height}) *n = getInt32();
      p.maximized = getBool();
      return p;
    }
    case ReplayLayout::Text:
      return getString();
    case ReplayLayout::Modes: {
      const uint64_t count = getVarint();
      if (count > kMaxModes) throw ReplayFileError(kDamaged);
      std::vector<DisplayMode> modes;
      for (uint64_t i = 0; i < count; ++i) {
        DisplayMode m;
        for (int* n : {&m.width, &m.height, &m.bitCount, &m.refreshRate}) *n = getInt32();
        modes.push_back(m);
      }
      return modes;
    }
    case ReplayLayout::Frame: {
      const uint64_t number = getVarint();
      if (number > UINT32_MAX) throw ReplayFileError(kDamaged);
      return FrameCheck{static_cast<uint32_t>(number), getDigest()};
    }
    case ReplayLayout::End: {
      std::string state = getString();
      return EndCheck{std::move(state), getDigest()};
    }
  }
  throw ReplayFileError(kDamaged);
}

uint64_t ReplayReader::getDigest() {
  uint64_t digest = 0;
  for (int shift = 0; shift < 64; shift += 8) digest |= uint64_t{getByte()} << shift;
  return digest;
}

std::string ReplayReader::check(const std::vector<uint8_t>& file) {
  ReplayReader reader(file);
  while (!reader.ended()) reader.next();
  // Nothing may follow End: no more records, no bytes after the compressed stream.
  if (reader.position_ != reader.available_ || reader.refill()) throw ReplayFileError(kDamaged);
  if (!reader.streamEnded_ || reader.stream_->z.avail_in != 0) {
    throw ReplayFileError(kDamaged);
  }
  return reader.record_.as<ReplayKind::End>().state;
}

std::vector<uint8_t> readReplayFile(const std::string& path) {
  std::string bytes;
  const int error = readWholeFile(path, bytes);
  if (error != 0) throw ReplayFileError(std::string("cannot be read: ") + std::strerror(error));
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace platform
