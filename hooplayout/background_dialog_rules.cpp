#include "hooplayout/background_dialog_rules.h"

#include "hooplayout/vantle_view.h"
#include "layoutcore/layout_save.h"
#include "platform/profile.h"

namespace hooplayout {

BackgroundDialogRules::BackgroundDialogRules(BackgroundSettings settings, std::string programFolder)
    : settings_(std::move(settings)), programFolder_(std::move(programFolder)) {}

platform::PaletteColour BackgroundDialogRules::Colour(Swatch swatch) const {
  switch (swatch) {
    case Swatch::kGrid: return settings_.grid;
    case Swatch::kCentreLine: return settings_.centreLine;
    case Swatch::kBackground: break;
  }
  return settings_.background;
}

void BackgroundDialogRules::SetColour(Swatch swatch, platform::PaletteColour colour) {
  switch (swatch) {
    case Swatch::kGrid: settings_.grid = colour; return;
    case Swatch::kCentreLine: settings_.centreLine = colour; return;
    case Swatch::kBackground: settings_.background = colour; return;
  }
}

std::string BackgroundDialogRules::BrowseFolder() const {
  const std::string folder = platform::Profile(kProfileProgram).GetString(kPicturePathSection, kPictureFolderKey);
  return folder.empty() ? programFolder_ : folder;
}

void BackgroundDialogRules::PictureChosen(const std::string& path) {
  if (path.empty()) return;
  platform::Profile(kProfileProgram).WriteString(kPicturePathSection, kPictureFolderKey, editor::FolderOf(path));
  settings_.picturePath = path;
}

}  // namespace hooplayout
