#pragma once
// The base of the platform wrappers: they keep the result code of their last platform
// call and report false instead of raising.

#include <cstdint>

#include "framework/component.h"
#include "framework/exceptions.h"

// The common error class of the platform wrappers (display, sound, input).
class EDirectXError : public Exception {
 public:
  using Exception::Exception;
};

// Messages the display, sound and input wrappers share.
inline constexpr const char* SCannotInitialized = "%s cannot be initialized";
inline constexpr const char* SCannotMade = "%s cannot be made";
inline constexpr const char* SNotMade = "%s not made";
inline constexpr const char* SFormNotFound = "Form not found";

class TDirectX : public TObject {
 public:
  int32_t LastResult() const { return lastResult_; }
  void SetResult(int32_t code) {
    lastResult_ = code;
    if (code != 0) ResultError();
  }

 protected:
  // Called when a non-zero result is stored; the base does nothing.
  virtual void ResultError() {}

 private:
  int32_t lastResult_ = 0;
};
