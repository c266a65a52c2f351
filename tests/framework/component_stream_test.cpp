#include "framework/component_stream.h"

#include <gtest/gtest.h>

namespace {

TStoredProperty prop(const std::string& name, TPropertyValue::Kind kind) {
  TStoredProperty p;
  p.name = name;
  p.value.kind = kind;
  return p;
}

// One value of every kind, a collection with a nested collection, and a child object.
TDescriptionObject sample() {
  TDescriptionObject o;
  o.className = "TThing";
  o.name = "Thing1";
  auto i = prop("Count", TPropertyValue::Kind::Integer);
  i.value.integer = -1234567890123;
  auto f = prop("Gain", TPropertyValue::Kind::Float);
  f.value.number = -0.125;
  auto s = prop("Caption", TPropertyValue::Kind::String);
  s.value.text = std::string("Акула 'it''s'\0x", 21);
  auto id = prop("Style", TPropertyValue::Kind::Identifier);
  id.value.text = "bsNone";
  auto set = prop("Options", TPropertyValue::Kind::Set);
  set.value.set = {"doFlip", "doCenter"};
  auto empty = prop("Empty", TPropertyValue::Kind::Set);
  auto bin = prop("Data", TPropertyValue::Kind::Binary);
  bin.value.bytes = {0, 1, 0xFF, 0x80};
  auto inner = prop("Inner", TPropertyValue::Kind::Collection);
  inner.value.items = {{i}, {}};
  auto items = prop("Items", TPropertyValue::Kind::Collection);
  items.value.items = {{s, inner}, {id}};
  o.properties = {i, f, s, id, set, empty, bin, items};
  TDescriptionObject child;
  child.className = "TChild";
  child.name = "";
  child.properties = {bin};
  o.children = {child, TDescriptionObject{}};
  return o;
}

void expectSame(const TPropertyValue& a, const TPropertyValue& b);

void expectSame(const std::vector<TStoredProperty>& a, const std::vector<TStoredProperty>& b) {
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].name, b[i].name);
    expectSame(a[i].value, b[i].value);
  }
}

void expectSame(const TPropertyValue& a, const TPropertyValue& b) {
  ASSERT_EQ(a.kind, b.kind);
  EXPECT_EQ(a.integer, b.integer);
  EXPECT_EQ(a.number, b.number);
  EXPECT_EQ(a.text, b.text);
  EXPECT_EQ(a.set, b.set);
  EXPECT_EQ(a.bytes, b.bytes);
  ASSERT_EQ(a.items.size(), b.items.size());
  for (size_t i = 0; i < a.items.size(); ++i) expectSame(a.items[i], b.items[i]);
}

void expectSame(const TDescriptionObject& a, const TDescriptionObject& b) {
  EXPECT_EQ(a.className, b.className);
  EXPECT_EQ(a.name, b.name);
  expectSame(a.properties, b.properties);
  ASSERT_EQ(a.children.size(), b.children.size());
  for (size_t i = 0; i < a.children.size(); ++i) expectSame(a.children[i], b.children[i]);
}

std::vector<uint8_t> written(const TDescriptionObject& o) {
  TMemoryStream s;
  WriteComponentStream(s, o);
  return s.Bytes();
}

TDescriptionObject read(const std::vector<uint8_t>& bytes) {
  TReadOnlyMemoryStream s(bytes.data(), static_cast<int64_t>(bytes.size()));
  return ReadComponentStream(s);
}

std::string readError(const std::vector<uint8_t>& bytes) {
  try {
    read(bytes);
  } catch (const EReadError& e) {
    return e.Message();
  }
  return "read";
}

TEST(ComponentStreamTest, EveryKindOfValueRoundTrips) {
  const TDescriptionObject o = sample();
  expectSame(read(written(o)), o);
}

TEST(ComponentStreamTest, StartsWithItsSignatureAndLittleEndianLengths) {
  TDescriptionObject o;
  o.className = "T";
  const std::vector<uint8_t> bytes = written(o);
  EXPECT_EQ(bytes,
            (std::vector<uint8_t>{'R', 'C', 'S', '1', 1, 0, 0, 0, 'T', 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(ComponentStreamTest, EveryTruncationIsAReadError) {
  const std::vector<uint8_t> bytes = written(sample());
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    EXPECT_NE(
        readError(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(cut))),
        "read")
        << cut;
  }
}

TEST(ComponentStreamTest, DamagedContentIsNamed) {
  std::vector<uint8_t> bytes = written(sample());
  bytes[0] = 'X';
  EXPECT_EQ(readError(bytes), "Invalid stream format");

  TDescriptionObject o;
  o.properties = {prop("A", TPropertyValue::Kind::Integer)};
  bytes = written(o);
  bytes[4 + 4 + 4] = 9;  // the property's kind
  EXPECT_EQ(readError(bytes), "Invalid stream format");

  o.properties = {prop("F", TPropertyValue::Kind::Float)};
  o.properties[0].value.number = 1;
  bytes = written(o);
  for (size_t i = bytes.size() - 4 - 1 - 8; i < bytes.size() - 5; ++i) bytes[i] = 0xFF;  // a NaN
  EXPECT_EQ(readError(bytes), "Invalid stream format");
}

TEST(ComponentStreamTest, HugeCountsWithoutTheBytesAreRefusedBeforeAllocating) {
  TDescriptionObject o;
  std::vector<uint8_t> bytes = written(o);
  // Child count of 0xFFFFFFFF with nothing after it.
  bytes[bytes.size() - 4] = bytes[bytes.size() - 3] = bytes[bytes.size() - 2] =
      bytes[bytes.size() - 1] = 0xFF;
  EXPECT_EQ(readError(bytes), "Stream read error");
  const std::vector<uint8_t> longName = {'R', 'C', 'S', '1', 0xFF, 0xFF, 0xFF, 0x7F, 'a'};
  EXPECT_EQ(readError(longName), "Stream read error");
}

TEST(ComponentStreamTest, NestingIsBounded) {
  TPropertyValue v;
  v.kind = TPropertyValue::Kind::Collection;
  for (int depth = 0; depth < kMaxComponentStreamDepth + 2; ++depth) {
    TPropertyValue outer;
    outer.kind = TPropertyValue::Kind::Collection;
    TStoredProperty p;
    p.name = "E";
    p.value = v;
    outer.items.push_back({p});
    v = outer;
  }
  TDescriptionObject o;
  o.properties.push_back({"E", v});
  TMemoryStream s;
  EXPECT_THROW(WriteComponentStream(s, o), EWriteError);

  // The same nesting written by hand: kind 7, name "E", one item, repeated; never ended.
  std::vector<uint8_t> deep = {'R', 'C', 'S', '1', 0, 0, 0, 0, 0, 0, 0, 0};
  for (int i = 0; i < 10000; ++i) {
    for (uint8_t b : std::initializer_list<uint8_t>{7, 1, 0, 0, 0, 'E', 1, 0, 0, 0})
      deep.push_back(b);
  }
  EXPECT_EQ(readError(deep), "Invalid stream format");
}

TEST(ComponentResourceTest, WrapsTheStreamAndReadsAnyName) {
  const TDescriptionObject o = sample();
  TMemoryStream s;
  WriteComponentResource(s, "thing", o);
  s.WriteValue<uint8_t>(0x42);  // whatever follows the resource
  const std::vector<uint8_t>& bytes = s.Bytes();
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 11),
            (std::vector<uint8_t>{0xFF, 10, 0, 'T', 'H', 'I', 'N', 'G', 0, 0x30, 0x10}));
  s.SetPosition(0);
  expectSame(ReadComponentResource(s), o);
  EXPECT_EQ(s.Position(), s.Size() - 1) << "left just after the resource";
}

TEST(ComponentResourceTest, DamagedHeadersAreReadingErrors) {
  TMemoryStream good;
  WriteComponentResource(good, "R", TDescriptionObject{});
  auto tryRead = [](std::vector<uint8_t> bytes) {
    TMemoryStream s(std::move(bytes));
    ReadComponentResource(s);
  };
  std::vector<uint8_t> bytes = good.Bytes();
  bytes[1] = 11;
  EXPECT_THROW(tryRead(bytes), EReadError);
  bytes = good.Bytes();
  bytes[0] = 0;
  EXPECT_THROW(tryRead(bytes), EReadError);
  bytes = good.Bytes();
  bytes[7] += 1;  // the length claims a byte more than there is
  EXPECT_THROW(tryRead(bytes), EReadError);
  bytes = good.Bytes();
  bytes[7] -= 1;  // and a byte less than the stream needs
  EXPECT_THROW(tryRead(bytes), EReadError);
  EXPECT_THROW(tryRead({0xFF, 10, 0, 'N', 'O', 'E', 'N', 'D'}), EReadError);
}

}  // namespace
