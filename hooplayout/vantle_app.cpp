#include "hooplayout/vantle_app.h"

#include "hooplayout/vantle_command_ids.h"

namespace hooplayout {

platform::CommandState CVantleApp::QueryCommand(int id) const {
  if (id == cmd::kAppAbout || id == cmd::kAppExit) return {true, true, false};
  if (id >= cmd::kFileMru1 && id < cmd::kFileMru1 + kRecentFileCount) {
    return {true, id - cmd::kFileMru1 < static_cast<int>(recent_.Paths().size()), false};
  }
  return {};
}

void CVantleApp::RunCommand(int id) {
  if (!actions_) return;
  if (id == cmd::kAppAbout) {
    actions_->ShowAbout();
    return;
  }
  if (id == cmd::kAppExit) {
    actions_->Exit();
    return;
  }
  const int index = id - cmd::kFileMru1;
  if (index >= 0 && index < static_cast<int>(recent_.Paths().size())) {
    actions_->OpenRecent(recent_.Paths()[index]);
  }
}

}  // namespace hooplayout
