#pragma once
// Whole text files as the run-time library's text-file input and output reports them:
// failures are EInOutError with the library's messages and codes.

#include <string>

inline constexpr int kErrorFileNotFound = 2;
inline constexpr int kErrorAccessDenied = 5;
inline constexpr int kErrorInvalidNumeric = 106;
inline constexpr const char* SInvalidNumericInput = "Invalid numeric input";

// The file's bytes. "File not found" when it does not exist, "File access denied" when it
// cannot be opened or read.
std::string ReadTextFile(const std::string& gamePath);
// Replaces the file with these bytes, atomically: a failure at any point leaves the old
// file whole and raises "File access denied" followed by the system's reason
// ("File access denied: No space left on device").
void WriteTextFile(const std::string& gamePath, const std::string& bytes);
