#include "hooplayout/ui/vantle_monogram_dialog.h"

namespace hooplayout_ui {

namespace {

// "Qnf files(*.qnf)|*.qnf|All Files(*.*)|*.*||" in the form the Qt file dialog reads.
const editor_ui::CMonogramDlg::Look kVantleLook{hooplayout::kVantleMonogramColourButton,
                                               "Qnf files(*.qnf);;All Files(*.*)",
                                               hooplayout::kVantleMonoSaveExtension};

}  // namespace

CVantleMonogramDlg::CVantleMonogramDlg(QWidget* parent, const hooplayout::VantleMonogramInput& input)
    : CMonogramDlg(
          parent, std::make_unique<hooplayout::VantleMonogramRules>(),
          [&input](editor::MonogramDialogRules& rules) {
            return static_cast<hooplayout::VantleMonogramRules&>(rules).Init(input);
          },
          kVantleLook) {}

}  // namespace hooplayout_ui
