#pragma once

// Whole numbers typed into a dialog's edit field, checked against the field's range the
// way every dialog of the editor checks them.

#include <optional>
#include <string>
#include <string_view>

namespace editor {

// A signed decimal integer with optional blanks around it; nothing else.
std::optional<int> ParseDialogInt(std::string_view text);

// "Please enter an integer between %d and %d."
std::string RangeMessage(int low, int high);

// The value when it parses and lies in low..high, else the range message.
struct IntField {
  std::optional<int> value;
  std::string message;
};
IntField ReadIntInRange(std::string_view text, int low, int high);

}  // namespace editor
