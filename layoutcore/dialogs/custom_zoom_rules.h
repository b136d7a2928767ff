#pragma once

// The "Custom Zoom" dialog's rules: seven fixed zooms as radio buttons, the current zoom
// shown as text, OK only once a zoom is chosen.

#include <array>
#include <string>

namespace editor {

struct ZoomChoice {
  int controlId;
  int zoomPercent;
  const char* label;
};

// In the radio group's order; the position is the radio index.
inline constexpr std::array<ZoomChoice, 7> kZoomChoices = {{
    {1008, 50, "50%"},
    {1007, 75, "75%"},
    {1002, 100, "100%"},
    {1003, 200, "200%"},
    {1004, 400, "400%"},
    {1005, 600, "600%"},
    {1006, 800, "800%"},
}};

// The field holds at most this many characters.
constexpr std::size_t kZoomTextLength = 10;

class CustomZoomRules {
 public:
  // Opened at the view's zoom: it is shown as "%d%%" and is the choice until another is
  // made; no radio button is on when it is none of the seven.
  explicit CustomZoomRules(int currentZoomPercent);

  static int RadioIndexOf(int zoomPercent);  // -1 when none of the seven

  const std::string& CurrentText() const { return currentText_; }
  int ChosenZoom() const { return chosenZoom_; }
  int RadioIndex() const { return radioIndex_; }
  bool OkEnabled() const { return radioIndex_ >= 0; }

  void Choose(int radioIndex);

 private:
  std::string currentText_;
  int chosenZoom_;
  int radioIndex_;
};

}  // namespace editor
