#include "layoutcore/monogram/monogram_color_rules.h"

#include "design/thread_colors.h"

namespace editor {

MonogramColorRules::MonogramColorRules(int chosenIndex) : chosenIndex_(chosenIndex) {}

void MonogramColorRules::SetPage(int page) {
  if (page >= 0 && page < kColourPages) page_ = page;
}

platform::PaletteColour MonogramColorRules::ButtonColour(int position) const {
  return design::ThreadIndexToRGB(ButtonThreadIndex(position));
}

void MonogramColorRules::ChooseButton(int controlId) {
  if (controlId < kFirstColourButtonId || controlId > kLastColourButtonId) return;
  chosenIndex_ = ButtonThreadIndex(controlId - kFirstColourButtonId);
}

platform::PaletteColour MonogramColorRules::SwatchColour() const {
  return design::ThreadIndexToRGB(chosenIndex_);
}

std::optional<std::string> MonogramColorRules::NameText() const {
  std::string name;
  std::string shortName;
  if (!design::ThreadIndexToName(chosenIndex_, name)) return std::nullopt;
  design::ThreadIndexToShortName(chosenIndex_, shortName);
  return name + " (" + shortName + ")";
}

}  // namespace editor
