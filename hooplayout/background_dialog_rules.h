#pragma once

// The rules of the "Background" dialog, without a screen: three colours (background, grid,
// centre lines), the grid and centre-line switches, and the path of a bitmap tiled under the
// layout. Browse opens in the folder last used for pictures ("Picture Path"/"Dotbmp", the
// program's folder when empty) and keeps the folder of the picture chosen.

#include <string>

#include "hooplayout/view_host.h"

namespace hooplayout {

inline constexpr char kBackgroundCaption[] = "Background";
inline constexpr char kBitmapFilter[] = "Bitmap Files (*.bmp)|*.bmp||";
inline constexpr char kBitmapExtension[] = ".bmp";

enum class Swatch { kBackground, kGrid, kCentreLine };

class BackgroundDialogRules {
 public:
  BackgroundDialogRules(BackgroundSettings settings, std::string programFolder);

  const BackgroundSettings& Settings() const { return settings_; }
  platform::PaletteColour Colour(Swatch swatch) const;
  // A colour chosen with a swatch's Change button.
  void SetColour(Swatch swatch, platform::PaletteColour colour);
  void SetGridOn(bool on) { settings_.gridOn = on; }
  void SetCentreLineOn(bool on) { settings_.centreLineOn = on; }
  void SetPicturePath(const std::string& path) { settings_.picturePath = path; }

  // Where Browse's file dialog opens.
  std::string BrowseFolder() const;
  // A picture chosen with Browse: its folder is kept for next time and its path shown.
  void PictureChosen(const std::string& path);

 private:
  BackgroundSettings settings_;
  std::string programFolder_;
};

}  // namespace hooplayout
