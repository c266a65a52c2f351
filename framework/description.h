#pragma once
// Stored window descriptions: a readable text form of a component tree and its stored
// property values, one file per window under resources/.
//
//   object MainForm: TMainForm          // a component: its name and class
//     KeyPreview = True                 // identifier (True, False, bsNone, FormCreate, ...)
//     Caption = 'Reefmaw'               // string, UTF-8; '' is a quote; 'a' + 'b' joins
//     Interval = 0                      // integer (decimal, or $hex)
//     Gain = 0.5                        // floating point
//     Options = [doFlip, doFullScreen]  // set of identifiers
//     Picture.Data = {0454 44 @mouse.bmp}  // bytes: hex pairs, and @file includes the
//                                          // bytes of that file of resources/
//     Items = <                         // collection of items
//       item
//         Name = 'snd'
//       end>
//     object DXDraw: TDXDraw            // an owned component, created by the root
//     end
//   end
//
// `//` starts a comment outside strings and bytes.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/component.h"

struct TDescriptionObject {
  std::string name;
  std::string className;
  int line = 0;
  std::vector<TStoredProperty> properties;
  std::vector<int> propertyLines;
  std::vector<TDescriptionObject> children;
};

// Finds the bytes of a file named by `@name` in a bytes value; nullopt when none.
using TIncludeResolver =
    std::function<std::optional<std::vector<uint8_t>>(const std::string& name)>;

// Includes from the files compiled into the program.
std::optional<std::vector<uint8_t>> EmbeddedInclude(const std::string& name);

// Parses a description; EReadError names the line of a fault.
TDescriptionObject ParseDescription(const std::string& text,
                                    const TIncludeResolver& include = EmbeddedInclude);

// Creates the children of a description for its root component.
class TComponentFactory {
 public:
  virtual ~TComponentFactory() = default;
  // A new component of that class owned by the root, or nullptr for an unknown class.
  // parent is the component whose object block encloses it.
  virtual TComponent* CreateStoredComponent(const std::string& className, TComponent* parent) = 0;
};

// Reads a parsed description into root: its properties, then every child object,
// created through factory in description order. Every component is in csLoading while
// the description is read; afterwards each gets Loaded(), root first. A fault raises
// EReadError "Error reading Component.Property: reason".
void ReadDescription(const TDescriptionObject& description, TComponent& root,
                     TComponentFactory& factory);

// The embedded description of that file name, parsed.
TDescriptionObject LoadEmbeddedDescription(const std::string& resourceName);
