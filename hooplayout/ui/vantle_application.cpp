#include "hooplayout/ui/vantle_application.h"

#include <QMetaObject>
#include <QStatusBar>
#include <filesystem>

#include "design/ui/write_card_m.h"
#include "layoutcore/ui/about_box.h"
#include "layoutcore/ui/rotate_flip_dialog.h"
#include "hooplayout/vantle_command_ids.h"
#include "link/panel/linkpanel.h"
#include "platform/file_size_signal.h"
#include "platform/message_box.h"
#include "platform/profile.h"

namespace hooplayout_ui {

namespace {

namespace cmd = hooplayout::cmd;

// The version command asks even when the machine's version is known.
constexpr int kForceVersionDialog = 1;
// Room for the 500-pixel layout column and the whole help pane (its lines run a little past
// 700 pixels in this font) with its scroll bar, so that no help line starts cut off; less on
// a screen that cannot hold it.
constexpr int kStartWidth = 1280;
constexpr int kStartHeight = 760;

}  // namespace

// ---- LinkpanelMachineDialogs ----

int LinkpanelMachineDialogs::CommSettings() { return SetSerialCommParamDlg(frame_); }
int LinkpanelMachineDialogs::DeleteDesigns() { return DeleteData(frame_); }
int LinkpanelMachineDialogs::ReceiveDesigns() { return UploadData(frame_); }
int LinkpanelMachineDialogs::SelectVersion() { return CheckVersionDlg(frame_, kForceVersionDialog); }

std::string LinkpanelMachineDialogs::ManageCard(const std::string& folder) {
  design_ui::CWriteCardM dialog(frame_, volumes_, version_, QString::fromStdString(folder));
  dialog.exec();
  return dialog.ChosenFolder().toStdString();
}

// ---- VantleApplication ----

VantleApplication::VantleApplication(std::string programFolder, card::CardVolumes* volumes)
    : app_(std::move(programFolder)) {
  // A save past the file-size limit (ulimit -f) fails like any other write instead of ending
  // the program with the user's unsaved work.
  platform::IgnoreFileSizeSignal();
  app_.RecentFiles().Load();
  doc_ = std::make_unique<hooplayout::CVantleDoc>(*this);
  frame_ = std::make_unique<CMainFrame>(router_);
  scrollView_ = new CVantleScrollView(frame_.get());
  scrollView_->setObjectName("layoutView");
  scrollView_->SetPageSink([this](hooplayout::PageSize page) { app_.SetPage(page); });
  help_ = new CHelpView(frame_.get());
  help_->setObjectName("helpPane");
  help_->SetActivateLayout([this] { scrollView_->setFocus(); });
  frame_->SetPanes(scrollView_, help_);
  view_ = std::make_unique<hooplayout::CVantleView>(*doc_, *scrollView_, app_.ProgramFolder());
  scrollView_->SetModel(view_.get());
  commands_ = std::make_unique<hooplayout::CVantleViewCommands>(*view_, templatePrinter_, *this);
  printJob_ = std::make_unique<VantlePrintJob>(frame_.get(), templatePrinter_, *doc_);
  card::CardVolumes& drives = volumes ? *volumes : systemVolumes_;
  transfer_ = std::make_unique<LinkpanelPositionTransfer>(frame_.get(), drives, version_);
  dialogs_ = std::make_unique<LinkpanelMachineDialogs>(frame_.get(), drives, version_);
  frameCommands_ = std::make_unique<hooplayout::CVantleFrameCommands>(*dialogs_, app_.ProgramFolder(),
                                                                      [this] { RepaintMainWindow(); });
  frameCommands_->SetOwner(frame_.get());
  app_.SetActions(this);
  // The view's commands first, then the frame's, then the application's.
  router_.SetChain({commands_.get(), frameCommands_.get(), &app_});

  frame_->SetPaneTextSource([this](int id) { return commands_->PaneText(id); });
  frame_->SetTitleSource([this] { return WindowTitle(); });
  frame_->SetCloseQuery([this] { return doc_->CanCloseFrame(); });
  frame_->SetRecentFiles(app_.RecentFiles().Paths());
  frame_->SizeForScreen(kStartWidth, kStartHeight);
  // No dropped files: a layout opens from the File menu or the command line.
  frame_->setAcceptDrops(false);
}

VantleApplication::~VantleApplication() {
  router_.SetChain({});
  app_.SetActions(nullptr);
  if (scrollView_) scrollView_->SetModel(nullptr);
  view_.reset();  // writes the template mode back to the profile
  frame_.reset();
}

bool VantleApplication::Start(const platform::CommandLineInfo& commandLine) {
  doc_->OnNewDocument();
  view_->OnInitialUpdate();
  if (!commandLine.fileToOpen.empty()) {
    if (!platform::CommandLineFileReadable(commandLine.fileToOpen)) {
      platform::MessageBox(nullptr, hooplayout::kDefectiveLayoutText, hooplayout::kFileOpenCaption,
                           platform::kMbOk | platform::kMbIconExclamation);
      return false;
    }
    OpenDocumentFile(commandLine.fileToOpen);
  }
  frame_->ShowWithSavedPlacement();
  frame_->UpdateCommandUi();
  scrollView_->setFocus();
  return true;
}

bool VantleApplication::OpenDocumentFile(const std::string& path) {
  if (!doc_->SaveModified()) return false;
  const bool opened = doc_->OnOpenDocument(path);
  if (opened) {
    doc_->SetTitle(std::filesystem::path(path).filename().string());
    view_->OnInitialUpdate();
  }
  scrollView_->RedrawAll();
  frame_->UpdateCommandUi();
  return opened;
}

std::string VantleApplication::WindowTitle() const { return doc_->GetTitle() + " - " + hooplayout::kAppTitle; }

void VantleApplication::RepaintMainWindow() {
  frame_->update();
  scrollView_->RedrawAll();
}

// ---- VantleAppActions ----

void VantleApplication::OpenRecent(const std::string& path) {
  if (!OpenDocumentFile(path) && !std::filesystem::exists(path)) {
    app_.RecentFiles().Remove(path);
    frame_->SetRecentFiles(app_.RecentFiles().Paths());
  }
}

void VantleApplication::ShowAbout() {
  editor_ui::CAboutDlg about(frame_.get(), hooplayout::kAppTitle, design_ui::kVantleSplashBitmap);
  about.exec();
}

void VantleApplication::Exit() { frame_->close(); }

// ---- VantleCommandHost ----

std::optional<hooplayout::RotateFlipAnswer> VantleApplication::RunRotateFlipDialog() {
  if (runRotateFlip_) return runRotateFlip_();
  // The dialog reads and stores the "Rotate" section itself.
  platform::Profile profile(hooplayout::kAppTitle);
  editor_ui::CRotateFlipDlg dialog(frame_.get(), profile);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return hooplayout::RotateFlipAnswer{dialog.Index(), dialog.Angle()};
}

void VantleApplication::PrintTemplate() {
  if (runPrint_) {
    runPrint_(false);
    return;
  }
  printJob_->PrintTemplate();
}

void VantleApplication::PreviewTemplate() {
  if (runPrint_) {
    runPrint_(true);
    return;
  }
  printJob_->PreviewTemplate();
}

// ---- DocumentHost ----

std::optional<std::string> VantleApplication::ChooseSaveFile(const std::string& folder,
                                                             const std::string& proposedName) {
  return scrollView_->RunSaveLayoutDialog(proposedName, folder);
}

std::optional<std::string> VantleApplication::ChooseOpenFile(const std::string& folder) {
  return scrollView_->RunOpenLayoutDialog(folder);
}

std::string VantleApplication::ReadSetting(const std::string& section, const std::string& key) {
  return platform::Profile(hooplayout::kAppTitle).GetString(section, key);
}

void VantleApplication::WriteSetting(const std::string& section, const std::string& key, const std::string& value) {
  platform::Profile(hooplayout::kAppTitle).WriteString(section, key, value);
}

void VantleApplication::AddToRecentFiles(const std::string& path) {
  app_.RecentFiles().Add(path);
  if (frame_) frame_->SetRecentFiles(app_.RecentFiles().Paths());
}

void VantleApplication::PostLayoutLoadFailed() {
  // The private message to the view: handled once the current command has finished.
  QMetaObject::invokeMethod(
      frame_.get(),
      [this] {
        view_->OnLayoutLoadFailed();
        frame_->UpdateCommandUi();
      },
      Qt::QueuedConnection);
}

}  // namespace hooplayout_ui
