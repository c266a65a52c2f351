#include "engine/timer/control_subclass.h"

TControlSubClass::TControlSubClass(TForm* control, TControlSubClassProc callback)
    : control_(control), previous_(control->WindowProc), callback_(std::move(callback)) {
  control_->WindowProc = [this](TMessage& message) { callback_(message, previous_); };
}

TControlSubClass::~TControlSubClass() { control_->WindowProc = previous_; }
