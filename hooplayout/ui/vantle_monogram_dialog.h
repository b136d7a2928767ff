#pragma once

// Vantle's "Monogram" dialog for the Maxiframe: the design editor's monogram window over
// hooplayout::VantleMonogramRules, with its own colour button text and save filter.

#include <memory>

#include "hooplayout/vantle_monogram_rules.h"
#include "layoutcore/ui/monogram_dialog.h"

namespace hooplayout_ui {

class CVantleMonogramDlg : public editor_ui::CMonogramDlg {
 public:
  CVantleMonogramDlg(QWidget* parent, const hooplayout::VantleMonogramInput& input);
};

}  // namespace hooplayout_ui
