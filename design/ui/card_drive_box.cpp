#include "design/ui/card_drive_box.h"

namespace design_ui {

void FillDriveBox(QComboBox& box, const card::CardDriveList& drives, int selected) {
  const QSignalBlocker quiet(&box);
  box.clear();
  for (const card::CardDrive& drive : drives.drives) box.addItem(QString::fromStdString(drive.text));
  box.setCurrentIndex(selected);
}

}  // namespace design_ui
