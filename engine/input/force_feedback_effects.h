#pragma once
// The root of a device's force-feedback effect tree, and its stored form: a component
// resource whose stream holds a TForceFeedbackEffectComponent with one collection
// Effects of TForceFeedbackEffectItem; its one item is the root, nested items its
// children.

#include <cstdint>
#include <vector>

#include "engine/input/force_feedback_effect.h"
#include "framework/description.h"

class TForceFeedbackEffects : public TForceFeedbackEffect {
 public:
  // input may be nullptr for a tree that plays on no device.
  explicit TForceFeedbackEffects(TCustomInput* input);

  std::vector<uint8_t> SaveToBytes() const;
  // Replaces the tree with the stored one. Damaged data raises EReadError and leaves the
  // tree as it was.
  void LoadFromBytes(const std::vector<uint8_t>& data);

  // The tree as the component stream holds it, and back.
  TDescriptionObject ToDescription() const;
  static void FromDescription(const TDescriptionObject& description, TForceFeedbackEffect& root);

 protected:
  TCustomInput* Input() const override { return input_; }

 private:
  TCustomInput* input_;
};
