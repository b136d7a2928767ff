#pragma once

// The "Number of Sheets for Layout" dialog's rules: sheets across and down, 1..3 each.

#include <optional>
#include <string>
#include <string_view>

namespace editor {

constexpr int kMinSheets = 1;
constexpr int kMaxSheets = 3;

class SheetCountRules {
 public:
  // A count outside 1..3 is shown as 1.
  SheetCountRules(int across, int down);

  int Across() const { return across_; }
  int Down() const { return down_; }

  // OK with the texts of the two fields, across first: the range message of the first
  // field that is not a whole number 1..3 (and both counts unchanged), or nothing.
  std::optional<std::string> Confirm(std::string_view acrossText, std::string_view downText);

 private:
  int across_;
  int down_;
};

}  // namespace editor
