#include "framework/component.h"

#include "framework/text_case.h"

namespace {

[[noreturn]] void wrongKind(const std::string& property) {
  throw EReadError(Format("Invalid property value for %s", property));
}

}  // namespace

int64_t TPropertyValue::AsInteger(const std::string& property) const {
  if (kind != Kind::Integer) wrongKind(property);
  return integer;
}

double TPropertyValue::AsFloat(const std::string& property) const {
  if (kind == Kind::Integer) return static_cast<double>(integer);
  if (kind != Kind::Float) wrongKind(property);
  return number;
}

const std::string& TPropertyValue::AsString(const std::string& property) const {
  if (kind != Kind::String) wrongKind(property);
  return text;
}

const std::string& TPropertyValue::AsIdentifier(const std::string& property) const {
  if (kind != Kind::Identifier) wrongKind(property);
  return text;
}

bool TPropertyValue::AsBoolean(const std::string& property) const {
  if (kind == Kind::Identifier && SameText(text, "True")) return true;
  if (kind == Kind::Identifier && SameText(text, "False")) return false;
  wrongKind(property);
}

const std::vector<std::string>& TPropertyValue::AsSet(const std::string& property) const {
  if (kind != Kind::Set) wrongKind(property);
  return set;
}

const std::vector<uint8_t>& TPropertyValue::AsBinary(const std::string& property) const {
  if (kind != Kind::Binary) wrongKind(property);
  return bytes;
}

const std::vector<std::vector<TStoredProperty>>& TPropertyValue::AsCollection(
    const std::string& property) const {
  if (kind != Kind::Collection) wrongKind(property);
  return items;
}

TComponent::TComponent(TComponent* owner) : owner_(owner) {}

TComponent::~TComponent() {
  ComponentState |= csDestroying;
  DestroyComponents();
}

void TComponent::DestroyComponents() {
  // Owned components go in reverse order of creation, so a later one may still use an
  // earlier one while it is destroyed.
  while (!components_.empty()) {
    std::unique_ptr<TComponent> last = std::move(components_.back());
    components_.pop_back();
    last.reset();
  }
}

void TComponent::InsertComponent(std::unique_ptr<TComponent> component) {
  components_.push_back(std::move(component));
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  for (const auto& c : components_) {
    if (SameText(c->Name, name)) return c.get();
  }
  return nullptr;
}

void TComponent::SetStoredProperty(const std::string& name, const TPropertyValue& value) {
  if (name == "Name") {
    Name = value.AsString(name);
  } else if (name == "Left" || name == "Top" || name == "Tag") {
    value.AsInteger(name);  // design-time position of a non-visual component
  } else {
    UnknownProperty(name);
  }
}

void TComponent::Loaded() { ComponentState &= ~static_cast<uint32_t>(csLoading); }

void TComponent::UnknownProperty(const std::string& name) const {
  throw EReadError(Format("Property %s does not exist", name));
}

const std::any* TComponent::findMethod(const std::string& name) const {
  for (const TComponent* c = this; c != nullptr; c = c->owner_) {
    auto it = c->methods_.find(name);
    if (it != c->methods_.end()) return &it->second;
  }
  return nullptr;
}

void TComponent::throwInvalidMethod(const std::string& property, const std::string& name) const {
  throw EReadError(Format("Invalid property value for %s: no handler %s", property, name));
}
