#pragma once
// The framework's exception classes. Every failure of the system is an exception that
// carries the text shown to the player; the application catches it at dispatch.

#include <cstdint>
#include <exception>
#include <string>
#include <type_traits>
#include <vector>

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// Streams and stored descriptions. A failure of the system names its reason in the
// system's words (Reason), where there is one.
class EStreamError : public Exception {
 public:
  using Exception::Exception;
  EStreamError(std::string message, std::string reason)
      : Exception(std::move(message)), reason_(std::move(reason)) {}
  const std::string& Reason() const { return reason_; }

 private:
  std::string reason_;
};
class EReadError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};
// A file that cannot be opened: the message names the full path and the system's reason.
class EFOpenError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

// Text-file input and output, with the run-time library's error code.
class EInOutError : public Exception {
 public:
  EInOutError(std::string message, int errorCode)
      : Exception(std::move(message)), ErrorCode(errorCode) {}
  int ErrorCode;
};

class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

class EOutOfResources : public Exception {
 public:
  using Exception::Exception;
};

inline constexpr const char* SReadError = "Stream read error";
inline constexpr const char* SWriteError = "Stream write error";
inline constexpr const char* SFileNotFound = "File not found";
inline constexpr const char* SAccessDenied = "File access denied";
inline constexpr const char* SFOpenError = "Cannot open file \"%s\". %s";
inline constexpr const char* SFCreateError = "Cannot create file \"%s\". %s";
inline constexpr const char* SInvalidInteger = "'%s' is not a valid integer value";

namespace detail {
template <typename T>
auto formatArg(const T& value) {
  if constexpr (std::is_same_v<T, std::string>) {
    return value.c_str();
  } else {
    return value;
  }
}
std::string formatV(const char* format, ...);
}  // namespace detail

// printf-style formatting of the system's message templates; std::string arguments
// may be passed for %s.
template <typename... Args>
std::string Format(const char* format, const Args&... args) {
  return detail::formatV(format, detail::formatArg(args)...);
}

// The decimal text of an integer, and back ("'%s' is not a valid integer value").
std::string IntToStr(int64_t value);
int64_t StrToInt(const std::string& text);
