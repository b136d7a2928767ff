#include "editor/brodera_app.h"

#include "platform/work_folder.h"

#include <filesystem>

#include "editor/brodera_doc.h"
#include "editor/command_ids.h"
#include "platform/file_io.h"

namespace editor {

namespace {

// Thresholds on the doubled size, in layout units: a page narrower than this is no page
// the layout can be printed on, and the landscape fall-back of 249 x 180 mm is taken.
constexpr int kMinPageWidth = 249;
constexpr int kMinPageHeight = 179;
constexpr PageSize kFallbackPage{2 * kFallbackPageWidthMm, 2 * kFallbackPageHeightMm};

}  // namespace

std::string CommandLineFailureText(const std::string& path) {
  std::error_code error;
  const bool there = std::filesystem::exists(path, error) || (error && !platform::IsNotFound(error));
  return LayoutLoadFailureText(there ? LayoutLoadFailure::kDefective : LayoutLoadFailure::kNotFound, path);
}

PageSize PrintableFromMillimetres(int widthMm, int heightMm) {
  PageSize page;
  page.width = 2 * widthMm;
  page.height = 2 * heightMm;
  if (page.width < kMinPageWidth) page.width = kFallbackPage.width;
  if (page.height < kMinPageHeight) page.height = kFallbackPage.height;
  return page;
}

std::string DefaultWorkFolder() {
  return (platform::WorkFolderOf(kProgramName) / "").string();
}

CBroderaApp::CBroderaApp(std::string programFolder, std::string workFolder)
    : programFolder_(std::move(programFolder)), workFolder_(std::move(workFolder)) {
  printable_ = kFallbackPage;
  std::error_code error;
  std::filesystem::create_directories(workFolder_, error);
}

void CBroderaApp::MeasurePrinter(std::optional<std::pair<int, int>> pageMm) {
  if (!pageMm) return;  // no default printer: keep the size last measured
  printable_ = PrintableFromMillimetres(pageMm->first, pageMm->second);
}

platform::CommandState CBroderaApp::QueryCommand(int id) const {
  switch (id) {
    case cmd::kFileNew:
    case cmd::kAppAbout:
    case cmd::kFilePrintSetup:
    case cmd::kAppExit:
      return {true, true, false};
    default:
      break;
  }
  if (id >= cmd::kFileMru1 && id < cmd::kFileMru1 + kRecentFileCount) {
    return {true, id - cmd::kFileMru1 < static_cast<int>(recent_.Paths().size()), false};
  }
  return {};
}

void CBroderaApp::RunCommand(int id) {
  if (!actions_) return;
  switch (id) {
    case cmd::kFileNew: actions_->NewLayout(); return;
    case cmd::kAppAbout: actions_->ShowAbout(); return;
    case cmd::kAppExit: actions_->Exit(); return;
    case cmd::kFilePrintSetup:
      MeasurePrinter(actions_->RunPrintSetup());
      actions_->RepaintMainWindow();
      return;
    default:
      break;
  }
  const int index = id - cmd::kFileMru1;
  if (index >= 0 && index < static_cast<int>(recent_.Paths().size())) {
    actions_->OpenRecent(recent_.Paths()[index]);
  }
}

}  // namespace editor
