#include "framework/component_stream.h"

#include <cctype>
#include <cmath>
#include <cstring>

namespace {

constexpr char kSignature[4] = {'R', 'C', 'S', '1'};
constexpr uint8_t kEndOfList = 0;
constexpr uint8_t kResourceMarker = 0xFF;
constexpr uint16_t kRcDataType = 10;
constexpr uint16_t kResourceFlags = 0x1030;

using Kind = TPropertyValue::Kind;

uint8_t kindCode(Kind kind) {
  switch (kind) {
    case Kind::Integer:
      return 1;
    case Kind::Float:
      return 2;
    case Kind::String:
      return 3;
    case Kind::Identifier:
      return 4;
    case Kind::Set:
      return 5;
    case Kind::Binary:
      return 6;
    case Kind::Collection:
      return 7;
  }
  return 0;
}

class Writer {
 public:
  explicit Writer(TStream& s) : s_(s) {}

  void u8(uint8_t v) { s_.WriteBuffer(&v, 1); }
  void u16(uint16_t v) {
    const uint8_t b[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
    s_.WriteBuffer(b, 2);
  }
  void u32(uint32_t v) {
    uint8_t b[4];
    for (int i = 0; i < 4; ++i) b[i] = static_cast<uint8_t>(v >> (8 * i));
    s_.WriteBuffer(b, 4);
  }
  void u64(uint64_t v) {
    uint8_t b[8];
    for (int i = 0; i < 8; ++i) b[i] = static_cast<uint8_t>(v >> (8 * i));
    s_.WriteBuffer(b, 8);
  }
  void count(size_t n) {
    if (n > 0xFFFFFFFFu) throw EWriteError(SWriteError);
    u32(static_cast<uint32_t>(n));
  }
  void string(const std::string& text) {
    count(text.size());
    if (!text.empty()) s_.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
  }

  void object(const TDescriptionObject& o, int depth) {
    if (depth > kMaxComponentStreamDepth) throw EWriteError(SWriteError);
    string(o.className);
    string(o.name);
    properties(o.properties, depth);
    count(o.children.size());
    for (const TDescriptionObject& child : o.children) object(child, depth + 1);
  }

  void properties(const std::vector<TStoredProperty>& props, int depth) {
    for (const TStoredProperty& p : props) {
      u8(kindCode(p.value.kind));
      string(p.name);
      value(p.value, depth);
    }
    u8(kEndOfList);
  }

  void value(const TPropertyValue& v, int depth) {
    switch (v.kind) {
      case Kind::Integer:
        u64(static_cast<uint64_t>(v.integer));
        break;
      case Kind::Float: {
        uint64_t bits = 0;
        std::memcpy(&bits, &v.number, sizeof(bits));
        u64(bits);
        break;
      }
      case Kind::String:
      case Kind::Identifier:
        string(v.text);
        break;
      case Kind::Set:
        count(v.set.size());
        for (const std::string& member : v.set) string(member);
        break;
      case Kind::Binary:
        count(v.bytes.size());
        if (!v.bytes.empty()) s_.WriteBuffer(v.bytes.data(), static_cast<int64_t>(v.bytes.size()));
        break;
      case Kind::Collection:
        if (depth + 1 > kMaxComponentStreamDepth) throw EWriteError(SWriteError);
        count(v.items.size());
        for (const auto& item : v.items) properties(item, depth + 1);
        break;
    }
  }

 private:
  TStream& s_;
};

class Reader {
 public:
  // Reads at most `limit` bytes from the stream's current position.
  Reader(TStream& s, int64_t limit) : s_(s), left_(limit) {}

  int64_t left() const { return left_; }

  void bytes(void* out, int64_t n) {
    if (n < 0 || n > left_) throw EReadError(SReadError);
    s_.ReadBuffer(out, n);
    left_ -= n;
  }
  uint8_t u8() {
    uint8_t v = 0;
    bytes(&v, 1);
    return v;
  }
  uint16_t u16() {
    uint8_t b[2];
    bytes(b, 2);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
  }
  uint32_t u32() {
    uint8_t b[4];
    bytes(b, 4);
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(b[i]) << (8 * i);
    return v;
  }
  uint64_t u64() {
    uint8_t b[8];
    bytes(b, 8);
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= static_cast<uint64_t>(b[i]) << (8 * i);
    return v;
  }
  // A count of elements each at least minSize bytes long: more than the bytes left can
  // hold is damage, and would otherwise make us reserve memory for nothing.
  size_t count(int64_t minSize) {
    const uint32_t n = u32();
    if (static_cast<int64_t>(n) * minSize > left_) throw EReadError(SReadError);
    return n;
  }
  std::string string() {
    const size_t n = count(1);
    std::string text(n, '\0');
    if (n > 0) bytes(text.data(), static_cast<int64_t>(n));
    return text;
  }

  TDescriptionObject object(int depth) {
    if (depth > kMaxComponentStreamDepth) throw EReadError(SInvalidStreamFormat);
    TDescriptionObject o;
    o.className = string();
    o.name = string();
    o.properties = properties(depth);
    const size_t children = count(10);  // two empty strings, the end mark and a count
    o.children.reserve(children);
    for (size_t i = 0; i < children; ++i) o.children.push_back(object(depth + 1));
    return o;
  }

  std::vector<TStoredProperty> properties(int depth) {
    std::vector<TStoredProperty> props;
    while (true) {
      const uint8_t code = u8();
      if (code == kEndOfList) return props;
      TStoredProperty p;
      p.name = string();
      p.value = value(code, depth);
      props.push_back(std::move(p));
    }
  }

  TPropertyValue value(uint8_t code, int depth) {
    TPropertyValue v;
    switch (code) {
      case 1:
        v.kind = Kind::Integer;
        v.integer = static_cast<int64_t>(u64());
        break;
      case 2: {
        v.kind = Kind::Float;
        const uint64_t bits = u64();
        std::memcpy(&v.number, &bits, sizeof(bits));
        if (!std::isfinite(v.number)) throw EReadError(SInvalidStreamFormat);
        break;
      }
      case 3:
        v.kind = Kind::String;
        v.text = string();
        break;
      case 4:
        v.kind = Kind::Identifier;
        v.text = string();
        break;
      case 5: {
        v.kind = Kind::Set;
        const size_t n = count(4);
        for (size_t i = 0; i < n; ++i) v.set.push_back(string());
        break;
      }
      case 6: {
        v.kind = Kind::Binary;
        const size_t n = count(1);
        v.bytes.resize(n);
        if (n > 0) bytes(v.bytes.data(), static_cast<int64_t>(n));
        break;
      }
      case 7: {
        v.kind = Kind::Collection;
        if (depth + 1 > kMaxComponentStreamDepth) throw EReadError(SInvalidStreamFormat);
        const size_t n = count(1);
        for (size_t i = 0; i < n; ++i) v.items.push_back(properties(depth + 1));
        break;
      }
      default:
        throw EReadError(SInvalidStreamFormat);
    }
    return v;
  }

 private:
  TStream& s_;
  int64_t left_;
};

int64_t bytesLeft(TStream& stream) { return stream.Size() - stream.Position(); }

}  // namespace

void WriteComponentStream(TStream& stream, const TDescriptionObject& object) {
  stream.WriteBuffer(kSignature, sizeof(kSignature));
  Writer(stream).object(object, 0);
}

TDescriptionObject ReadComponentStream(TStream& stream) {
  Reader reader(stream, bytesLeft(stream));
  char signature[sizeof(kSignature)];
  reader.bytes(signature, sizeof(signature));
  if (std::memcmp(signature, kSignature, sizeof(kSignature)) != 0)
    throw EReadError(SInvalidStreamFormat);
  return reader.object(0);
}

void WriteComponentResource(TStream& stream, const std::string& resourceName,
                            const TDescriptionObject& object) {
  TMemoryStream body;
  WriteComponentStream(body, object);
  Writer w(stream);
  w.u8(kResourceMarker);
  w.u16(kRcDataType);
  for (char c : resourceName) {
    if (c == '\0') continue;
    w.u8(static_cast<uint8_t>(std::toupper(static_cast<unsigned char>(c))));
  }
  w.u8(0);
  w.u16(kResourceFlags);
  w.u32(static_cast<uint32_t>(body.Size()));
  stream.WriteBuffer(body.Memory(), body.Size());
}

TDescriptionObject ReadComponentResource(TStream& stream) {
  Reader header(stream, bytesLeft(stream));
  if (header.u8() != kResourceMarker || header.u16() != kRcDataType) {
    throw EReadError(SInvalidResourceFormat);
  }
  while (header.u8() != 0) {
  }
  header.u16();  // flags: any are accepted
  const uint32_t length = header.u32();
  if (static_cast<int64_t>(length) > header.left()) throw EReadError(SReadError);
  const int64_t start = stream.Position();
  Reader body(stream, length);
  char signature[sizeof(kSignature)];
  body.bytes(signature, sizeof(signature));
  if (std::memcmp(signature, kSignature, sizeof(kSignature)) != 0)
    throw EReadError(SInvalidStreamFormat);
  TDescriptionObject object = body.object(0);
  // Whatever the resource holds after the tree belongs to it; leave the stream after it.
  stream.SetPosition(start + length);
  return object;
}
