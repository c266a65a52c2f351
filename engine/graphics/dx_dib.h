#pragma once
// A component that holds one device-independent bitmap in a window description.

#include "engine/graphics/dib.h"
#include "framework/component.h"

class TDXDIB : public TComponent {
 public:
  using TComponent::TComponent;
  std::string ClassName() const override { return "TDXDIB"; }
  void SetStoredProperty(const std::string& name, const TPropertyValue& value) override;
  TDIB DIB;
};
