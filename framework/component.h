#pragma once
// Components: named objects owned by another component, configured from a stored
// window description. A component receives each stored property by its (dotted) name
// and raises EReadError for a name it does not know; after the whole description has
// been read, every component gets Loaded().

#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/exceptions.h"

class TObject {
 public:
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

struct TStoredProperty;

// One stored property value as the description holds it.
struct TPropertyValue {
  enum class Kind { Integer, Float, String, Identifier, Set, Binary, Collection };
  Kind kind = Kind::Integer;
  int64_t integer = 0;
  double number = 0;
  std::string text;                                 // String (UTF-8) or Identifier
  std::vector<std::string> set;                     // Set: the member identifiers
  std::vector<uint8_t> bytes;                       // Binary
  std::vector<std::vector<TStoredProperty>> items;  // Collection: each item's properties

  // Typed access; a value of another kind is a reading error naming the property.
  int64_t AsInteger(const std::string& property) const;
  double AsFloat(const std::string& property) const;  // integers are accepted
  const std::string& AsString(const std::string& property) const;
  const std::string& AsIdentifier(const std::string& property) const;
  bool AsBoolean(const std::string& property) const;  // the identifiers True and False
  const std::vector<std::string>& AsSet(const std::string& property) const;
  const std::vector<uint8_t>& AsBinary(const std::string& property) const;
  const std::vector<std::vector<TStoredProperty>>& AsCollection(const std::string& property) const;
};

struct TStoredProperty {
  std::string name;
  TPropertyValue value;
};

enum ComponentStateFlag : uint32_t {
  csLoading = 1u << 0,
  csDesigning = 1u << 1,
  csDestroying = 1u << 2,
};

class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  std::string Name;
  TComponent* Owner() const { return owner_; }
  uint32_t ComponentState = 0;
  bool Loading() const { return (ComponentState & csLoading) != 0; }
  bool Designing() const { return (ComponentState & csDesigning) != 0; }

  // The class name as the description writes it ("TDXDraw").
  virtual std::string ClassName() const = 0;

  // Creates a component owned by this one; it lives until this one is destroyed.
  template <typename T, typename... Args>
  T* CreateComponent(Args&&... args) {
    auto owned = std::make_unique<T>(this, std::forward<Args>(args)...);
    T* raw = owned.get();
    components_.push_back(std::move(owned));
    return raw;
  }
  void InsertComponent(std::unique_ptr<TComponent> component);
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_[static_cast<size_t>(index)].get(); }
  TComponent* FindComponent(const std::string& name) const;
  // Destroys the owned components, the last created first.
  void DestroyComponents();

  // A stored property; the default knows only Name and the design-time positions and
  // sizes every component may carry, and raises EReadError for anything else.
  virtual void SetStoredProperty(const std::string& name, const TPropertyValue& value);
  // Called once the whole description has been read; clears csLoading.
  virtual void Loaded();

  // Event handlers published by a form under their names, for stored event properties
  // ("OnTimer = DXTimerTimer").
  template <typename F>
  void PublishMethod(const std::string& name, F handler) {
    methods_[name] = std::any(std::move(handler));
  }
  // The handler of that name published by this component or one of its owners (the
  // form), or EReadError when there is none of that type.
  template <typename F>
  F MethodByName(const std::string& property, const std::string& name) const {
    const std::any* found = findMethod(name);
    if (found == nullptr || found->type() != typeid(F)) throwInvalidMethod(property, name);
    return std::any_cast<F>(*found);
  }

 protected:
  // For SetStoredProperty overrides: the reading error for a name nobody knows.
  [[noreturn]] void UnknownProperty(const std::string& name) const;

 private:
  const std::any* findMethod(const std::string& name) const;
  [[noreturn]] void throwInvalidMethod(const std::string& property, const std::string& name) const;

  TComponent* owner_;
  std::vector<std::unique_ptr<TComponent>> components_;
  std::map<std::string, std::any> methods_;
};

// The component of that name and class owned by owner; EReadError when its stored
// description lacks it.
template <typename T>
T* RequiredComponent(const TComponent& owner, const std::string& name) {
  auto* component = dynamic_cast<T*>(owner.FindComponent(name));
  if (component == nullptr) {
    throw EReadError(Format("Component %s missing from %s", name, owner.Name));
  }
  return component;
}
