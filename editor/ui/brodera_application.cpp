#include "editor/ui/brodera_application.h"

#include <QFileDialog>
#include <QMetaObject>
#include <filesystem>

#include "layoutcore/ui/about_box.h"
#include "editor/ui/printer_page.h"
#include "platform/file_size_signal.h"
#include "platform/message_box.h"
#include "platform/profile.h"

namespace editor_ui {

namespace {

constexpr char kLayoutFilter[] = "Layout files (*.bdz)";
constexpr char kOpenFilter[] = "Layout Files (*.bdz);;Arf Files (*.arf);;Arr Files (*.arr)";

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (std::filesystem::path(name).is_absolute()) return name;
  return (std::filesystem::path(folder) / name).string();
}

}  // namespace

BroderaApplication::BroderaApplication(std::string programFolder, std::string workFolder)
    : app_(std::move(programFolder), std::move(workFolder)) {
  // A save past the file-size limit (ulimit -f) fails like any other write instead of ending
  // the program with the user's unsaved work.
  platform::IgnoreFileSizeSignal();
  app_.MeasurePrinter(printer_.PageMm());
  app_.RecentFiles().Load();
  doc_ = std::make_unique<editor::CBroderaDoc>(*this);
  frame_ = std::make_unique<CMainFrame>(router_);
  scrollView_ = new CBroderaScrollView(frame_.get());
  scrollView_->SetPageSource([this] { return app_.Printable(); });
  frame_->setCentralWidget(scrollView_);
  view_ = std::make_unique<editor::CBroderaView>(*doc_, *scrollView_, app_.ProgramFolder());
  scrollView_->SetModel(view_.get());
  app_.SetActions(this);
  link_ = std::make_unique<LinkpanelMachineLink>(frame_.get());
  machine_ = std::make_unique<editor::CMachineCommands>(*doc_, *link_, app_.WorkFolder(),
                                                        app_.ProgramFolder(), [this] { RepaintMainWindow(); });
  machine_->SetOwner(frame_.get());
  templates_ = std::make_unique<editor::TemplateCommands>(templatePrinter_, *doc_);
  templates_->LoadFlags(editor::kProgramName);
  // The sheets print as the layout has them, whatever paper the print dialog ends on.
  printJob_ = std::make_unique<TemplatePrintJob>(
      frame_.get(), templatePrinter_, *doc_, printer_.Printer(),
      [this] { return std::pair{app_.Printable().width / 2, app_.Printable().height / 2}; },
      [this] { printer_.RestoreMeasuredPage(); }, editor::kProgramName);
  templates_->SetPrintHost(printJob_.get());
  // The template modes follow the view; the machine and card commands stand with the frame's.
  router_.SetChain({view_.get(), templates_.get(), doc_.get(), frame_.get(), machine_.get(), &app_});

  frame_->SetPaneTextSource([this](int id) {
    auto text = view_->PaneText(id);
    return text ? text : templates_->PaneText(id);
  });
  frame_->SetTitleSource([this] { return WindowTitle(); });
  frame_->SetCloseQuery([this] { return doc_->CanCloseFrame(); });
  frame_->SetDropHandler([this](const std::string& path) { OpenDocumentFile(path); });
  frame_->SetRecentFiles(app_.RecentFiles().Paths());
  frame_->resize(900, 700);

  chooseSave_ = [this](const std::string& folder, const std::string& name) -> std::optional<std::string> {
    QFileDialog dialog(frame_.get(), "Save As", QString::fromStdString(JoinPath(folder, name)), kLayoutFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("bdz");
    // The layout asks its own replace question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
  };
  chooseOpen_ = [this](const std::string& folder) -> std::optional<std::string> {
    QFileDialog dialog(frame_.get(), "Open", QString::fromStdString(folder), kOpenFilter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix("bdz");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
  };
}

BroderaApplication::~BroderaApplication() {
  router_.SetChain({});
  templates_->SaveFlags(editor::kProgramName);
  app_.SetActions(nullptr);
  if (scrollView_) scrollView_->SetModel(nullptr);
  view_.reset();
  frame_.reset();
}

bool BroderaApplication::Start(const editor::CommandLineInfo& commandLine) {
  doc_->ResetToNew();
  view_->OnInitialUpdate();
  if (!commandLine.fileToOpen.empty()) {
    // Said here, before the window and its splash show, never queued behind them. A file
    // that cannot be read at all fails the shell command and the program ends; a defective
    // one leaves the fresh layout.
    const bool readable = editor::CommandLineFileReadable(commandLine.fileToOpen);
    if (!readable || doc_->OpenLayout(commandLine.fileToOpen) != editor::LayoutLoadFailure::kNone) {
      const std::string text = readable ? std::string(editor::kDefectiveFileText)
                                        : editor::CommandLineFailureText(commandLine.fileToOpen);
      platform::MessageBox(nullptr, text, editor::kFileOpenCaption,
                           platform::kMbOk | platform::kMbIconExclamation);
      if (!readable) return false;
    } else {
      view_->OnInitialUpdate();
    }
  }
  frame_->ShowWithSavedPlacement();
  frame_->UpdateCommandUi();
  return true;
}

bool BroderaApplication::OpenDocumentFile(const std::string& path) {
  if (!doc_->SaveModified()) return false;
  const bool opened = view_->OpenNamedLayout(path);
  frame_->UpdateCommandUi();
  return opened;
}

void BroderaApplication::SetFileChoosers(SaveChooser save, OpenChooser open) {
  chooseSave_ = std::move(save);
  chooseOpen_ = std::move(open);
}

std::string BroderaApplication::WindowTitle() const {
  return doc_->GetTitle() + " - " + editor::kProgramName;
}

// ---- AppActions ----

void BroderaApplication::NewLayout() {
  if (!doc_->OnNewDocument()) return;
  view_->OnInitialUpdate();
}

void BroderaApplication::OpenRecent(const std::string& path) {
  if (!OpenDocumentFile(path) && !std::filesystem::exists(path)) {
    app_.RecentFiles().Remove(path);
    frame_->SetRecentFiles(app_.RecentFiles().Paths());
  }
}

void BroderaApplication::ShowAbout() {
  CAboutDlg about(frame_.get());
  about.exec();
}

std::optional<std::pair<int, int>> BroderaApplication::RunPrintSetup() {
  return printer_.RunPrintSetup(frame_.get());
}

void BroderaApplication::RepaintMainWindow() { frame_->update(); scrollView_->RedrawAll(true); }

void BroderaApplication::Exit() { frame_->close(); }

// ---- DocumentHost ----

std::optional<std::string> BroderaApplication::ChooseSaveFile(const std::string& folder,
                                                              const std::string& proposedName) {
  return chooseSave_ ? chooseSave_(folder, proposedName) : std::nullopt;
}

std::optional<std::string> BroderaApplication::ChooseOpenFile(const std::string& folder) {
  return chooseOpen_ ? chooseOpen_(folder) : std::nullopt;
}

std::string BroderaApplication::ReadSetting(const std::string& section, const std::string& key) {
  return platform::Profile(editor::kProgramName).GetString(section, key);
}

void BroderaApplication::WriteSetting(const std::string& section, const std::string& key,
                                      const std::string& value) {
  platform::Profile(editor::kProgramName).WriteString(section, key, value);
}

void BroderaApplication::AddToRecentFiles(const std::string& path) {
  app_.RecentFiles().Add(path);
  if (frame_) frame_->SetRecentFiles(app_.RecentFiles().Paths());
}

void BroderaApplication::PostLayoutLoadFailed() {
  // The private message to the view: handled once the current command has finished.
  QMetaObject::invokeMethod(
      frame_.get(),
      [this] {
        view_->OnLayoutLoadFailed();
        frame_->UpdateCommandUi();
      },
      Qt::QueuedConnection);
}

}  // namespace editor_ui
