#include "engine/input/force_feedback_effects.h"

#include <algorithm>
#include <limits>

#include "engine/input/custom_input.h"
#include "framework/component_stream.h"

namespace {

constexpr const char* kComponentClass = "TForceFeedbackEffectComponent";
constexpr const char* kResourceName = "TFORCEFEEDBACKEFFECTCOMPONENT";

struct TypeName {
  TForceFeedbackEffectType type;
  const char* name;
};
constexpr TypeName kTypeNames[] = {
    {TForceFeedbackEffectType::etNone, "etNone"},
    {TForceFeedbackEffectType::etConstantForce, "etConstantForce"},
    {TForceFeedbackEffectType::etPeriodic, "etPeriodic"},
    {TForceFeedbackEffectType::etCondition, "etCondition"},
};

TStoredProperty integerProperty(const char* name, int32_t v) {
  TStoredProperty p;
  p.name = name;
  p.value.kind = TPropertyValue::Kind::Integer;
  p.value.integer = v;
  return p;
}

std::vector<TStoredProperty> itemOf(const TForceFeedbackEffect& node) {
  std::vector<TStoredProperty> item;
  TStoredProperty name;
  name.name = "Name";
  name.value.kind = TPropertyValue::Kind::String;
  name.value.text = node.Name;
  item.push_back(std::move(name));
  TStoredProperty type;
  type.name = "EffectType";
  type.value.kind = TPropertyValue::Kind::Identifier;
  for (const TypeName& t : kTypeNames) {
    if (t.type == node.EffectType()) type.value.text = t.name;
  }
  item.push_back(std::move(type));
  item.push_back(integerProperty("AttackLevel", node.AttackLevel()));
  item.push_back(integerProperty("AttackTime", node.AttackTime()));
  item.push_back(integerProperty("ConditionX", node.ConditionX()));
  item.push_back(integerProperty("ConditionY", node.ConditionY()));
  item.push_back(integerProperty("ConstantX", node.ConstantX()));
  item.push_back(integerProperty("ConstantY", node.ConstantY()));
  item.push_back(integerProperty("FadeLevel", node.FadeLevel()));
  item.push_back(integerProperty("FadeTime", node.FadeTime()));
  item.push_back(integerProperty("Period", node.Period()));
  item.push_back(integerProperty("Power", node.Power()));
  item.push_back(integerProperty("Time", node.Time()));
  item.push_back(integerProperty("StartDelayTime", node.StartDelayTime()));
  TStoredProperty children;
  children.name = "Effects";
  children.value.kind = TPropertyValue::Kind::Collection;
  for (int i = 0; i < node.Count(); ++i) children.value.items.push_back(itemOf(*node.Effects(i)));
  item.push_back(std::move(children));
  return item;
}

// Stored numbers wider than 32 bits are cut to the nearest 32-bit value; the setters
// then clamp them to their ranges.
int32_t storedInt(const TPropertyValue& v, const std::string& name) {
  const int64_t i = v.AsInteger(name);
  return static_cast<int32_t>(std::clamp<int64_t>(i, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

void readItem(const std::vector<TStoredProperty>& item, TForceFeedbackEffect& node, int depth) {
  if (depth > kMaxComponentStreamDepth) throw EReadError(SInvalidStreamFormat);
  for (const TStoredProperty& p : item) {
    const std::string& n = p.name;
    if (n == "Name") {
      node.Name = p.value.AsString(n);
    } else if (n == "EffectType") {
      const std::string& id = p.value.AsIdentifier(n);
      const TypeName* found = nullptr;
      for (const TypeName& t : kTypeNames) {
        if (id == t.name) found = &t;
      }
      if (found == nullptr) throw EReadError(Format("Invalid property value for %s", n));
      node.SetEffectType(found->type);
    } else if (n == "AttackLevel") {
      node.SetAttackLevel(storedInt(p.value, n));
    } else if (n == "AttackTime") {
      node.SetAttackTime(storedInt(p.value, n));
    } else if (n == "ConditionX") {
      node.SetConditionX(storedInt(p.value, n));
    } else if (n == "ConditionY") {
      node.SetConditionY(storedInt(p.value, n));
    } else if (n == "ConstantX") {
      node.SetConstantX(storedInt(p.value, n));
    } else if (n == "ConstantY") {
      node.SetConstantY(storedInt(p.value, n));
    } else if (n == "FadeLevel") {
      node.SetFadeLevel(storedInt(p.value, n));
    } else if (n == "FadeTime") {
      node.SetFadeTime(storedInt(p.value, n));
    } else if (n == "Period") {
      node.SetPeriod(storedInt(p.value, n));
    } else if (n == "Power") {
      node.SetPower(storedInt(p.value, n));
    } else if (n == "Time") {
      node.SetTime(storedInt(p.value, n));
    } else if (n == "StartDelayTime") {
      node.SetStartDelayTime(storedInt(p.value, n));
    } else if (n == "Effects") {
      for (const auto& childItem : p.value.AsCollection(n)) {
        auto* child = new TForceFeedbackEffect(&node);  // owned by node from here on
        readItem(childItem, *child, depth + 1);
      }
    } else {
      throw EReadError(Format("Property %s does not exist", n));
    }
  }
}

}  // namespace

TForceFeedbackEffects::TForceFeedbackEffects(TCustomInput* input)
    : TForceFeedbackEffect(nullptr), input_(input) {
  Name = "Effects";
}

TDescriptionObject TForceFeedbackEffects::ToDescription() const {
  TDescriptionObject object;
  object.className = kComponentClass;
  TStoredProperty effects;
  effects.name = "Effects";
  effects.value.kind = TPropertyValue::Kind::Collection;
  effects.value.items.push_back(itemOf(*this));
  object.properties.push_back(std::move(effects));
  return object;
}

void TForceFeedbackEffects::FromDescription(const TDescriptionObject& description,
                                            TForceFeedbackEffect& root) {
  if (description.className != kComponentClass) throw EReadError(SInvalidStreamFormat);
  bool found = false;
  for (const TStoredProperty& p : description.properties) {
    if (p.name != "Effects") throw EReadError(Format("Property %s does not exist", p.name));
    const auto& items = p.value.AsCollection(p.name);
    if (items.empty()) throw EReadError(SInvalidStreamFormat);
    root.Clear();
    readItem(items[0], root, 0);
    found = true;
  }
  if (!found) throw EReadError(SInvalidStreamFormat);
}

std::vector<uint8_t> TForceFeedbackEffects::SaveToBytes() const {
  TMemoryStream stream;
  WriteComponentResource(stream, kResourceName, ToDescription());
  return stream.Bytes();
}

void TForceFeedbackEffects::LoadFromBytes(const std::vector<uint8_t>& data) {
  TReadOnlyMemoryStream stream(data.data(), static_cast<int64_t>(data.size()));
  const TDescriptionObject description = ReadComponentResource(stream);
  // Read into a tree of its own first, so that damaged data leaves this one whole.
  TForceFeedbackEffect loaded(nullptr);
  FromDescription(description, loaded);
  Finalize();
  Assign(loaded);
  if (input_ != nullptr && input_->Initialized()) Initialize();
}
