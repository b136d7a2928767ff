#include "layoutcore/dialogs/sheet_count_rules.h"

#include "layoutcore/dialogs/int_field.h"

namespace editor {

namespace {

int Normalised(int count) { return count < kMinSheets || count > kMaxSheets ? kMinSheets : count; }

}  // namespace

SheetCountRules::SheetCountRules(int across, int down)
    : across_(Normalised(across)), down_(Normalised(down)) {}

std::optional<std::string> SheetCountRules::Confirm(std::string_view acrossText,
                                                    std::string_view downText) {
  const IntField across = ReadIntInRange(acrossText, kMinSheets, kMaxSheets);
  if (!across.value) return across.message;
  const IntField down = ReadIntInRange(downText, kMinSheets, kMaxSheets);
  if (!down.value) return down.message;
  across_ = *across.value;
  down_ = *down.value;
  return std::nullopt;
}

}  // namespace editor
