#pragma once
// Where the running program is, for finding its data without any platform started (a
// headless replay needs no display).

#include <string>

namespace platform {

// The full path of the running program; empty when the system cannot tell.
std::string programPath();

}  // namespace platform
