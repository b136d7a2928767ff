#pragma once

// The drive combo box of the card dialogs, filled from the drive list.

#include <QComboBox>

#include "design/card/card_drives.h"

namespace design_ui {

// Shows every drive and selects one (-1 for none) without telling the box's listeners:
// filling the box is not the user choosing.
void FillDriveBox(QComboBox& box, const card::CardDriveList& drives, int selected);

}  // namespace design_ui
