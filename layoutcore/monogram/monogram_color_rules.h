#pragma once

// The "Monogram Color" dialog's rules: the 78 machine threads on two pages of 39 swatch
// buttons, the chosen thread, its name and the swatch that shows it.

#include <optional>
#include <string>

#include "platform/canvas.h"

namespace editor {

constexpr int kColourButtonsPerPage = 39;
constexpr int kColourPages = 2;
constexpr int kFirstColourButtonId = 1006;  // buttons 1006..1044
constexpr int kLastColourButtonId = kFirstColourButtonId + kColourButtonsPerPage - 1;
inline constexpr const char* kColourPageTabs[kColourPages] = {"Page 1", "Page 2"};

class MonogramColorRules {
 public:
  // Opened with a thread-table index 0..77; the first page shows.
  explicit MonogramColorRules(int chosenIndex);

  int ChosenIndex() const { return chosenIndex_; }
  int Page() const { return page_; }
  void SetPage(int page);

  // Thread index and colour of the button at position 0..38 on the current page.
  int ButtonThreadIndex(int position) const { return page_ * kColourButtonsPerPage + position; }
  platform::PaletteColour ButtonColour(int position) const;

  // A click on button 1006..1044 chooses that button's thread on the current page.
  void ChooseButton(int controlId);

  platform::PaletteColour SwatchColour() const;
  // "<long name> (<short name>)" when the table names the chosen thread.
  std::optional<std::string> NameText() const;

  // Where the swatch colour is painted, measured from the swatch icon's corner.
  static platform::CanvasRect SwatchRect(int iconX, int iconY) {
    return {iconX + 5, iconY + 6, iconX + 27, iconY + 26};
  }

 private:
  int chosenIndex_;
  int page_ = 0;
};

}  // namespace editor
