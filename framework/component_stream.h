#pragma once
// The framework's binary component stream: a component tree with its stored property
// values, in the same shape as a window description (framework/description.h) but as
// bytes, for components that keep a tree of their own inside a binary property.
//
// All numbers are little-endian.
//
//   stream     := "RCS1" object
//   object     := string className, string name, property*, 0x00,
//                 u32 childCount, object * childCount
//   property   := u8 kind (1..7), string name, value
//   value      := kind 1 Integer:    i64
//                 kind 2 Float:      f64 (IEEE 754, finite)
//                 kind 3 String:     string (UTF-8)
//                 kind 4 Identifier: string
//                 kind 5 Set:        u32 count, string * count
//                 kind 6 Binary:     u32 length, bytes
//                 kind 7 Collection: u32 count, item * count
//   item       := property*, 0x00
//   string     := u32 length, bytes
//
// Objects and collections nest at most kMaxComponentStreamDepth deep. Reading checks
// every length against the bytes that are left, so damaged data is an EReadError and
// never a read past the end.
//
// A component resource wraps one stream the way the window system stores a resource:
//
//   resource   := 0xFF, u16 type 10, name (upper-case bytes) 0x00, u16 flags 0x1030,
//                 u32 length, stream of that length

#include <cstdint>
#include <string>
#include <vector>

#include "framework/description.h"
#include "framework/stream.h"

inline constexpr int kMaxComponentStreamDepth = 32;

inline constexpr const char* SInvalidStreamFormat = "Invalid stream format";
inline constexpr const char* SInvalidResourceFormat = "Resource is not in the component format";

void WriteComponentStream(TStream& stream, const TDescriptionObject& object);
TDescriptionObject ReadComponentStream(TStream& stream);

// The name is written in upper case; reading accepts any name.
void WriteComponentResource(TStream& stream, const std::string& resourceName,
                            const TDescriptionObject& object);
TDescriptionObject ReadComponentResource(TStream& stream);
