#include "engine/input/force_feedback_effects.h"

#include <gtest/gtest.h>

#include "framework/component_stream.h"

namespace {

void expectSameTree(const TForceFeedbackEffect& a, const TForceFeedbackEffect& b) {
  EXPECT_EQ(a.Name, b.Name);
  EXPECT_EQ(a.EffectType(), b.EffectType()) << a.Name;
  EXPECT_EQ(a.AttackLevel(), b.AttackLevel()) << a.Name;
  EXPECT_EQ(a.AttackTime(), b.AttackTime()) << a.Name;
  EXPECT_EQ(a.ConditionX(), b.ConditionX()) << a.Name;
  EXPECT_EQ(a.ConditionY(), b.ConditionY()) << a.Name;
  EXPECT_EQ(a.ConstantX(), b.ConstantX()) << a.Name;
  EXPECT_EQ(a.ConstantY(), b.ConstantY()) << a.Name;
  EXPECT_EQ(a.FadeLevel(), b.FadeLevel()) << a.Name;
  EXPECT_EQ(a.FadeTime(), b.FadeTime()) << a.Name;
  EXPECT_EQ(a.Period(), b.Period()) << a.Name;
  EXPECT_EQ(a.Power(), b.Power()) << a.Name;
  EXPECT_EQ(a.Time(), b.Time()) << a.Name;
  EXPECT_EQ(a.StartDelayTime(), b.StartDelayTime()) << a.Name;
  ASSERT_EQ(a.Count(), b.Count()) << a.Name;
  for (int i = 0; i < a.Count(); ++i) expectSameTree(*a.Effects(i), *b.Effects(i));
}

TForceFeedbackEffect* add(TForceFeedbackEffect& parent, const std::string& name,
                          TForceFeedbackEffectType type) {
  auto* node = new TForceFeedbackEffect(&parent);
  node->Name = name;
  node->SetEffectType(type);
  return node;
}

// A tree that uses every value, names with points and non-ASCII text, nested three deep.
void buildTree(TForceFeedbackEffects& root) {
  TForceFeedbackEffect* eff1 = add(root, "eff1", TForceFeedbackEffectType::etPeriodic);
  eff1->SetConstantX(10000);
  eff1->SetConstantY(-10000);
  eff1->SetPeriod(30);
  eff1->SetTime(50);
  TForceFeedbackEffect* dotted = add(root, "a.b", TForceFeedbackEffectType::etCondition);
  dotted->SetConditionX(-1234);
  dotted->SetConditionY(5678);
  dotted->SetTime(-1);
  TForceFeedbackEffect* inner = add(*dotted, "удар", TForceFeedbackEffectType::etConstantForce);
  inner->SetAttackLevel(100);
  inner->SetAttackTime(200);
  inner->SetFadeLevel(300);
  inner->SetFadeTime(400);
  inner->SetPower(7000);
  inner->SetStartDelayTime(15);
  add(*inner, "", TForceFeedbackEffectType::etNone);
}

TEST(StoredEffectsTest, TreeReadBackFromItsStoredFormIsTheSame) {
  TForceFeedbackEffects original(nullptr);
  buildTree(original);
  TForceFeedbackEffects copy(nullptr);
  add(copy, "old", TForceFeedbackEffectType::etNone);
  copy.LoadFromBytes(original.SaveToBytes());
  expectSameTree(original, copy);
  EXPECT_EQ(copy.Find("a.b")->Effects(0)->StartDelayTime(), 15);
  EXPECT_EQ(copy.SaveToBytes(), original.SaveToBytes());
}

TEST(StoredEffectsTest, StoredFormIsAComponentResource) {
  TForceFeedbackEffects root(nullptr);
  const std::vector<uint8_t> bytes = root.SaveToBytes();
  ASSERT_GT(bytes.size(), 40u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 10);
  EXPECT_EQ(bytes[2], 0);
  size_t end = 3;
  while (bytes[end] != 0) {
    EXPECT_FALSE(std::islower(bytes[end])) << "the resource name is upper case";
    ++end;
  }
  EXPECT_EQ(bytes[end + 1] | (bytes[end + 2] << 8), 0x1030);
  const uint32_t length = bytes[end + 3] | (bytes[end + 4] << 8) | (bytes[end + 5] << 16) |
                          (static_cast<uint32_t>(bytes[end + 6]) << 24);
  EXPECT_EQ(length, bytes.size() - (end + 7));

  TReadOnlyMemoryStream stream(bytes.data(), static_cast<int64_t>(bytes.size()));
  const TDescriptionObject d = ReadComponentResource(stream);
  EXPECT_EQ(d.className, "TForceFeedbackEffectComponent");
  ASSERT_EQ(d.properties.size(), 1u);
  EXPECT_EQ(d.properties[0].name, "Effects");
  ASSERT_EQ(d.properties[0].value.items.size(), 1u);
  std::vector<std::string> names;
  for (const TStoredProperty& p : d.properties[0].value.items[0]) names.push_back(p.name);
  EXPECT_EQ(names, (std::vector<std::string>{"Name", "EffectType", "AttackLevel", "AttackTime",
                                             "ConditionX", "ConditionY", "ConstantX", "ConstantY",
                                             "FadeLevel", "FadeTime", "Period", "Power", "Time",
                                             "StartDelayTime", "Effects"}));
}

TEST(StoredEffectsTest, DamagedDataIsAReadingErrorAndChangesNothing) {
  TForceFeedbackEffects original(nullptr);
  buildTree(original);
  const std::vector<uint8_t> bytes = original.SaveToBytes();
  TForceFeedbackEffects target(nullptr);
  add(target, "kept", TForceFeedbackEffectType::etPeriodic);
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    const std::vector<uint8_t> part(bytes.begin(), bytes.begin() + static_cast<long>(cut));
    EXPECT_THROW(target.LoadFromBytes(part), EReadError) << cut;
  }
  ASSERT_EQ(target.Count(), 1);
  EXPECT_EQ(target.Effects(0)->Name, "kept");
}

// Builds a stored tree by hand from a description.
std::vector<uint8_t> storedForm(const TDescriptionObject& d) {
  TMemoryStream s;
  WriteComponentResource(s, "X", d);
  return s.Bytes();
}

TDescriptionObject description(std::vector<TStoredProperty> item) {
  TDescriptionObject d;
  d.className = "TForceFeedbackEffectComponent";
  TStoredProperty effects;
  effects.name = "Effects";
  effects.value.kind = TPropertyValue::Kind::Collection;
  effects.value.items.push_back(std::move(item));
  d.properties.push_back(std::move(effects));
  return d;
}

TStoredProperty integer(const std::string& name, int64_t v) {
  TStoredProperty p;
  p.name = name;
  p.value.kind = TPropertyValue::Kind::Integer;
  p.value.integer = v;
  return p;
}

TEST(StoredEffectsTest, StoredValuesAreClampedAndMissingOnesKeepDefaults) {
  TForceFeedbackEffects root(nullptr);
  root.LoadFromBytes(storedForm(description(
      {integer("Power", 12000), integer("Time", -5), integer("ConstantX", int64_t{1} << 40)})));
  EXPECT_EQ(root.Power(), 10000);
  EXPECT_EQ(root.Time(), 0);
  EXPECT_EQ(root.ConstantX(), 10000);
  EXPECT_EQ(root.Period(), 50);
  EXPECT_EQ(root.Name, "");
}

TEST(StoredEffectsTest, ForeignContentIsRejected) {
  TForceFeedbackEffects root(nullptr);
  TDescriptionObject wrongClass = description({});
  wrongClass.className = "TButton";
  EXPECT_THROW(root.LoadFromBytes(storedForm(wrongClass)), EReadError);
  TDescriptionObject noItems = description({});
  noItems.properties[0].value.items.clear();
  EXPECT_THROW(root.LoadFromBytes(storedForm(noItems)), EReadError);
  EXPECT_THROW(root.LoadFromBytes(storedForm(description({integer("Wobble", 1)}))), EReadError);
  EXPECT_THROW(root.LoadFromBytes(storedForm(description({integer("Name", 1)}))), EReadError);
  TStoredProperty badType;
  badType.name = "EffectType";
  badType.value.kind = TPropertyValue::Kind::Identifier;
  badType.value.text = "etRumble";
  EXPECT_THROW(root.LoadFromBytes(storedForm(description({badType}))), EReadError);
}

}  // namespace
