#include "layoutcore/dialogs/int_field.h"

#include <charconv>
#include <cstdio>

namespace editor {

std::optional<int> ParseDialogInt(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string RangeMessage(int low, int high) {
  char text[96];
  std::snprintf(text, sizeof text, "Please enter an integer between %d and %d.", low, high);
  return text;
}

IntField ReadIntInRange(std::string_view text, int low, int high) {
  const std::optional<int> value = ParseDialogInt(text);
  if (!value || *value < low || *value > high) return {std::nullopt, RangeMessage(low, high)};
  return {value, {}};
}

}  // namespace editor
