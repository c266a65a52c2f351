#pragma once
// The picture control: shows one picture at its top-left corner, clipped to its box, and
// reports clicks on it.

#include <cstdint>
#include <string>
#include <vector>

#include "framework/bitmap.h"
#include "framework/form.h"

class TImage : public TControl {
 public:
  explicit TImage(TComponent* owner) : TControl(owner) {}
  std::string ClassName() const override { return "TImage"; }
  void SetStoredProperty(const std::string& name, const TPropertyValue& value) override;
  void Paint(TFormCanvas& canvas) override;

  TPicture Picture;
};
