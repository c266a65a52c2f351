#pragma once
// A hook on a form's message handler: every message goes to the callback first, with
// the handler it replaced, and the callback decides whether and when to pass it on.

#include <functional>

#include "framework/form.h"

using TControlSubClassProc =
    std::function<void(TMessage& Message, const std::function<void(TMessage&)>& DefWindowProc)>;

class TControlSubClass {
 public:
  TControlSubClass(TForm* control, TControlSubClassProc callback);
  ~TControlSubClass();
  TControlSubClass(const TControlSubClass&) = delete;
  TControlSubClass& operator=(const TControlSubClass&) = delete;

 private:
  TForm* control_;
  std::function<void(TMessage&)> previous_;
  TControlSubClassProc callback_;
};
