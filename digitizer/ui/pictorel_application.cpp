#include "digitizer/ui/pictorel_application.h"

#include <QApplication>
#include <QFileDialog>
#include <QPrinterInfo>
#include <QStringList>
#include <QTimer>

#include "design/ui/splash_wnd.h"
#include "design/ui/write_card_m.h"
#include "digitizer/pictorel_commands.h"
#include "digitizer/sew_conversion.h"
#include "digitizer/ui/all_colors_dialog.h"
#include "digitizer/ui/edit_parts_dialog.h"
#include "digitizer/ui/make_stitch_dialog.h"
#include "digitizer/ui/making_stitch_dialog.h"
#include "digitizer/ui/open_picture_dialog.h"
#include "digitizer/ui/open_save_dialog.h"
#include "digitizer/ui/open_sew_dialog.h"
#include "digitizer/ui/pictorel_small_dialogs.h"
#include "digitizer/ui/satin_stitch_dialog.h"
#include "digitizer/ui/stitch_choice_dialog.h"
#include "digitizer/ui/stitch_workflow_dialogs.h"
#include "link/panel/linkpanel.h"
#include "platform/file_size_signal.h"
#include "platform/message_box.h"

namespace digitizer_ui {

namespace cmd = digitizer::cmd;
using digitizer::FileDialogKind;

namespace {

// "Name(*.x)|*.x|Other(*.y)|*.y||" as Qt writes filters: "Name(*.x) (*.x);;Other(*.y) (*.y)".
// The dialogs hide the patterns Qt reads from the end of each, so each name shows as it is.
QString QtFilterOf(const char* filter) {
  const QStringList fields = QString::fromLatin1(filter).split('|');
  QStringList filters;
  for (int i = 0; i + 1 < fields.size(); i += 2) {
    if (fields[i].isEmpty()) break;
    QString patterns = fields[i + 1];
    patterns.replace(';', ' ');
    filters << QString("%1 (%2)").arg(fields[i], patterns);
  }
  return filters.join(";;");
}

LinkWindow Owner(QWidget* frame) { return static_cast<LinkWindow>(frame); }

// The Setting Satin Stitch dialog on the part the Fill dialog was opened for.
class PartSatinEditor : public digitizer::SatinSettingsEditor {
 public:
  explicit PartSatinEditor(QWidget* parent) : parent_(parent) {}
  void SetPart(const digitizer::PartRecord* part, int width, int height) {
    part_ = part;
    width_ = width;
    height_ = height;
  }
  bool EditSatin(digitizer::SatinSettings& settings) override {
    if (!part_) return false;
    CSatinStitchDlg dialog(parent_, part_->mask.data(), part_->mask.size(), width_, height_, settings);
    return dialog.exec() == QDialog::Accepted;
  }

 private:
  QWidget* parent_;
  const digitizer::PartRecord* part_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// The parts editor's dialogs: the Fill dialog's satin button opens on the part being edited.
class FramePartDialogs : public digitizer::PartDialogs {
 public:
  FramePartDialogs(QWidget* parent, int width, int height)
      : satin_(parent),
        inner_(parent, &satin_,
               [parent, width, height](digitizer::CPartList& parts) { ShowAllColorsDialog(parent, parts, width, height); }),
        width_(width),
        height_(height) {}
  std::optional<digitizer::LineStitchChoice> EditLineStitch(const digitizer::LineStitchChoice& start) override {
    return inner_.EditLineStitch(start);
  }
  std::optional<digitizer::FillStitchChoice> EditFillStitch(digitizer::PartRecord& part,
                                                            const digitizer::FillStitchChoice& start) override {
    satin_.SetPart(&part, width_, height_);
    return inner_.EditFillStitch(part, start);
  }
  void ShowAllColors(digitizer::CPartList& parts) override { inner_.ShowAllColors(parts); }

 private:
  PartSatinEditor satin_;
  QtPartDialogs inner_;
  int width_;
  int height_;
};

}  // namespace

// First in the route: while a worker makes the design (the design's busy flag), the idle
// refresh of the menus asks nothing of the design, the document or the pictures the worker
// writes, and every command waits.
class PictorelApplication::WorkerGuard : public platform::CommandTarget {
 public:
  explicit WorkerGuard(const digitizer::CStitchDesign& design) : design_(design) {}
  platform::CommandState QueryCommand(int) const override {
    return design_.Busy() ? platform::CommandState{true, false, false} : platform::CommandState{};
  }
  void RunCommand(int) override {}

 private:
  const digitizer::CStitchDesign& design_;
};

// The stitch view's command, first in the route.
class PictorelApplication::StitchViewCommands : public platform::CommandTarget {
 public:
  explicit StitchViewCommands(CStcView& view) : view_(view) {}
  platform::CommandState QueryCommand(int id) const override {
    return id == cmd::kBackgroundColor ? platform::CommandState{true, true, view_.Model().FillsBackground()}
                                       : platform::CommandState{};
  }
  void RunCommand(int id) override {
    if (id == cmd::kBackgroundColor) view_.OnBackgroundColor();
  }

 private:
  CStcView& view_;
};

PictorelApplication::PictorelApplication(std::filesystem::path programFolder, std::filesystem::path workFolder,
                                         card::CardVolumes* volumes)
    : programFolder_(std::move(programFolder)),
      workFolder_(std::move(workFolder)),
      volumes_(volumes ? *volumes : systemVolumes_) {
  // A save past the file-size limit (ulimit -f) fails like any other write instead of ending
  // the program with the user's unsaved work.
  platform::IgnoreFileSizeSignal();
  std::error_code error;
  std::filesystem::create_directories(workFolder_, error);
  doc_ = std::make_unique<digitizer::CImportDoc>(programFolder_, workFolder_);
  frame_ = std::make_unique<CMainFrame>(router_, [this] { return doc_->PictureStateValue(); });
  frame_->StitchView().SetDesign(&doc_->Design());
  frame_->StitchView().SetTransferProbe([] { return GetTransferStatus() != 0; });
  pictureView_ = new CBmpView(frame_.get(), *doc_);
  pictureView_->setObjectName("pictureView");
  digitizer::BmpViewModel& picture = pictureView_->Model();
  frame_->SetPictureView(pictureView_, {[&picture] { return picture.ZoomMode(); },
                                        [&picture](bool) { picture.ToggleZoomMode(); },
                                        [&picture](int factor) { picture.SetZoomFactor(factor); }});
  viewCommands_ = std::make_unique<StitchViewCommands>(frame_->StitchView());
  designCommands_ = std::make_unique<digitizer::DesignCommands>(
      *doc_, *this, *this, *frame_, [](digitizer::CStitchDesign& design, int flip, int angle, int size) {
        return design.ApplyModify(flip, angle, size);
      });
  docCommands_ = std::make_unique<digitizer::DocumentCommands>(*doc_, *this, *this, *frame_);
  machine_ = std::make_unique<digitizer::MachineCommands>(
      *doc_, link_, *this, volumes_, *frame_, workFolder_,
      [] { return digitizer::FileTimeOf(platform::GetClock().Now()); }, [this] { RepaintViews(); });
  machine_->SetOwner(frame_.get());
  printJob_ = std::make_unique<StitchPrintJob>(frame_.get(), doc_->Design(), [this] { return doc_->Title(); });
  // The picture view answers its own commands and the frame's Fill, Line, Color and Stitch.
  workerGuard_ = std::make_unique<WorkerGuard>(doc_->Design());
  router_.SetChain({workerGuard_.get(), viewCommands_.get(), pictureView_->Target(), designCommands_.get(), docCommands_.get(),
                    frame_.get(), machine_.get(), this});
  CBmpView::FrameHooks hooks;
  hooks.askSaveModified = [this] { return docCommands_->SaveModified(); };
  hooks.setModified = [this](bool modified) { docCommands_->SetModified(modified); };
  hooks.updateAllViews = [this] { UpdateAllViews(); };
  hooks.updateStatusPanes = [this](const digitizer::StatusPaneUpdate& u) {
    frame_->UpdateStatusPanes(u.partCount, u.colour, u.stitchType, u.parameter, u.mode, u.stitchCount);
  };
  hooks.postToFrame = [this](int message, int wParam, int lParam) { frame_->PostFrameMessage(message, wParam, lParam); };
  hooks.activate = [this] { frame_->ActivateFirstPane(); };
  pictureView_->SetFrameHooks(std::move(hooks));

  // The save, send and card commands show the hoop-limit dialog over the frame.
  digitizer::SetHoopLimitHandler([this](platform::WindowHandle) {
    CHoopLimitDlg dialog(frame_.get());
    dialog.exec();
  });
  frame_->SetTitleSource([this] { return WindowTitle(); });
  frame_->SetCloseQuery([this] { return docCommands_->SaveModified(); });
  frame_->SetDropHandler([this](const std::string& path) {
    docCommands_->OpenDocumentFile(path);
    frame_->UpdateCommandUi();
  });
  frame_->SetRecentFiles(docCommands_->RecentFiles().Paths());
}

PictorelApplication::~PictorelApplication() {
  digitizer::SetHoopLimitHandler({});
  router_.SetChain({});
  frame_->StitchView().SetDesign(nullptr);
  frame_.reset();
}

bool PictorelApplication::Start(const platform::CommandLineInfo& commandLine) {
  docCommands_->NewDocument(doc_->Design().HoopKind());
  if (!commandLine.fileToOpen.empty()) {
    if (!platform::CommandLineFileReadable(commandLine.fileToOpen)) {
      platform::MessageBox(nullptr, digitizer::CImportDoc::kDefectiveMessage, kPictorelProgram,
                           platform::kMbOk | platform::kMbIconExclamation);
      return false;
    }
    docCommands_->OpenDocumentFile(commandLine.fileToOpen);
  }
  frame_->ShowWithSavedPlacement();
  design_ui::CSplashWnd::ShowSplashScreen(frame_.get(), true, kPictorelSplashBitmap);
  frame_->ActivateFirstPane();
  frame_->UpdateCommandUi();
  // Said once the window is up and the program runs: the start does not wait for the answer.
  QTimer::singleShot(0, frame_.get(), [this] {
    if (!QPrinterInfo::defaultPrinter().isNull()) return;
    platform::MessageBox(frame_.get(), kNoPrinterText, kPictorelProgram, platform::kMbOk | platform::kMbIconExclamation);
  });
  return true;
}

std::string PictorelApplication::WindowTitle() const {
  return doc_->Title() + " - " + kPictorelProgram;
}

// ---- DesignDialogs ----

std::optional<digitizer::MakeStitchOptions> PictorelApplication::ChooseMakeOptions(
    const digitizer::CStitchDesign& design, const digitizer::MakeStitchOptions& start) {
  if (overrides_.makeOptions) return overrides_.makeOptions(start);
  CMakeStitchDlg dialog(frame_.get(), design, start);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Options();
}

digitizer::MakeStitchEnd PictorelApplication::RunMaking(digitizer::MakeStitchRun& run,
                                                        digitizer::CStitchDesign& design,
                                                        const digitizer::MakeStitchOptions& options) {
  CMakingStitchDlg dialog(frame_.get(), run, design, options);
  return dialog.exec() == CMakingStitchDlg::kRan ? digitizer::MakeStitchEnd::kRan
                                                 : digitizer::MakeStitchEnd::kCancelled;
}

std::optional<digitizer::ModifySettings> PictorelApplication::ChooseModify(const digitizer::ModifySettings& start) {
  if (overrides_.modify) return overrides_.modify(start);
  CModifyStitchDlg dialog(frame_.get(), start);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Settings();
}

digitizer::DesignDialogs::EditPartsAnswer PictorelApplication::EditParts(digitizer::CPartList& parts, int maskWidth,
                                                                         int maskHeight) {
  FramePartDialogs dialogs(frame_.get(), maskWidth, maskHeight);
  CEditPartsDlg dialog(frame_.get(), parts, dialogs, maskWidth, maskHeight);
  EditPartsAnswer answer;
  answer.accepted = dialog.exec() == QDialog::Accepted;
  answer.makeRequested = dialog.Model().MakeRequested();
  return answer;
}

bool PictorelApplication::AskYesNo(const char* text, const char* caption) {
  return platform::MessageBox(frame_.get(), text, caption, platform::kMbYesNo | platform::kMbIconQuestion) ==
         platform::kIdYes;
}

// ---- DesignCommandHost ----

void PictorelApplication::SetModified(bool modified) { docCommands_->SetModified(modified); }

void PictorelApplication::RequestRemake() { pictureView_->Model().SetRemakeFlag(true); }

// Each view brings itself up to date from the document: the picture view back to 1 x without
// a tool, a tracker or a selection; the stitch view back to 100 % over the hoop and every
// stitch the design now has.
void PictorelApplication::UpdateAllViews() {
  pictureView_->Model().OnUpdate();
  frame_->StitchView().OnUpdate();
  frame_->UpdateCommandUi();
}

// The machine commands change nothing the views show: they are only painted again.
void PictorelApplication::RepaintViews() {
  frame_->StitchView().viewport()->update();
  pictureView_->viewport()->update();
  frame_->UpdateCommandUi();
}

// ---- DocumentDialogs ----

std::optional<std::filesystem::path> PictorelApplication::ChooseFile(FileDialogKind kind,
                                                                     const std::filesystem::path& folder,
                                                                     const std::string& name) {
  if (overrides_.chooseFile) return overrides_.chooseFile(kind, name);
  const QString filter = QtFilterOf(digitizer::FilterOf(kind));
  // A save dialog proposes the name; an open dialog starts with none.
  const QString initial = name.empty() ? QString() : QString::fromStdString((folder / name).string());
  std::unique_ptr<PreviewFileDialog> dialog;
  switch (kind) {
    case FileDialogKind::kOpenDesign:
      dialog = std::make_unique<COpenSave>(frame_.get(), true, "qnf", initial, filter);
      break;
    case FileDialogKind::kSaveDesign:
      dialog = std::make_unique<COpenSave>(frame_.get(), false, "qnf", initial, filter);
      break;
    case FileDialogKind::kSaveBitmap: {
      auto save = std::make_unique<COpenSave>(frame_.get(), false, "bmp", initial, filter);
      save->SetBitmapMode(true);
      dialog = std::move(save);
      break;
    }
    case FileDialogKind::kImportClipart:
      dialog = std::make_unique<COpenPicture>(frame_.get(), "wmf", initial, filter);
      break;
    default:
      dialog = std::make_unique<COpenPicture>(frame_.get(), "bmp", initial, filter);
      break;
  }
  dialog->setDirectory(QString::fromStdString(folder.string()));
  dialog->SetPreviewOn(doc_->Preview());
  const bool accepted = dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty();
  doc_->SetPreview(dialog->PreviewOn());
  if (!accepted) return std::nullopt;
  return std::filesystem::path(dialog->selectedFiles().front().toStdString());
}

std::optional<digitizer::SewChoice> PictorelApplication::ChooseSewFile(const std::filesystem::path& folder) {
  std::vector<uint8_t> buffer(digitizer::kSewBufferBytes);
  COpenSew dialog(frame_.get(), buffer, QString(), QtFilterOf("Old Stitch File(*.sew)|*.sew||"));
  dialog.setDirectory(QString::fromStdString(folder.string()));
  dialog.SetPreviewOn(doc_->Preview());
  const bool accepted = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
  doc_->SetPreview(dialog.PreviewOn());
  if (!accepted) return std::nullopt;
  digitizer::SewChoice choice;
  choice.path = dialog.selectedFiles().front().toStdString();
  choice.largeHoop = dialog.HoopChoice() == 1;
  const digitizer::SewConversion& converted = dialog.Conversion();
  if (converted.converted && converted.imageBytes <= buffer.size()) {
    auto record = std::make_unique<design::StitchRecord>(design::StitchRecord::kPictorelStitchRoom);
    const std::size_t bytes = std::min(converted.imageBytes, record->Bytes().size());
    std::copy_n(buffer.begin(), bytes, record->Bytes().begin());
    choice.record = std::move(record);
  }
  return choice;
}

std::optional<int> PictorelApplication::ChooseHoop() {
  if (overrides_.hoop) return overrides_.hoop();
  CHoopSizeDlg dialog(frame_.get());
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Kind();
}

// ---- DocumentViews ----

bool PictorelApplication::PrepareOutline(digitizer::CDib& outline) {
  return pictureView_->Model().PrepareOutline(outline);
}

void PictorelApplication::DocumentChanged() {
  // The picture view is sized to the work area and draws the document's pictures afresh.
  const digitizer::CStitchDesign& design = doc_->Design();
  pictureView_->Model().SetDrawingSize(design.WorkWidth(), design.WorkHeight());
  pictureView_->Model().OnInitialUpdate();
  // An imported picture is placed on the work area, where it may be moved and sized.
  if (doc_->PictureStateValue() == digitizer::kBitmapToTrace) {
    const digitizer::CDib::Dimensions size = doc_->ImportedPicture().GetDimensions();
    pictureView_->Model().FitPicture(size.width, size.height);
  } else if (doc_->PictureStateValue() == digitizer::kClipartToTrace) {
    const digitizer::CClipart::Size size = doc_->Clipart().GetSize();
    pictureView_->Model().FitPicture(size.width, size.height);
  }
  // Updated already; a further update would take the imported picture's placement away.
  frame_->StitchView().OnUpdate();
  frame_->UpdateCommandUi();
}

void PictorelApplication::RecentFilesChanged() { frame_->SetRecentFiles(docCommands_->RecentFiles().Paths()); }

// ---- MachineDialogs ----

int PictorelApplication::SendFiles(std::string& folder) {
  std::vector<char> buffer(folder.begin(), folder.end());
  buffer.resize(std::max<std::size_t>(buffer.size() + 1, 4096), '\0');
  const int result = TransferQNFFiles(Owner(frame_.get()), buffer.data(), static_cast<unsigned>(buffer.size()));
  folder = buffer.data();
  return result;
}

int PictorelApplication::ReceiveDesigns() { return UploadData(Owner(frame_.get())); }
int PictorelApplication::DeleteDesigns() { return DeleteData(Owner(frame_.get())); }
int PictorelApplication::SerialSettings() { return SetSerialCommParamDlg(Owner(frame_.get())); }
void PictorelApplication::SelectVersion() { CheckVersionDlg(Owner(frame_.get()), 1); }

std::optional<digitizer::CardDialogChoice> PictorelApplication::ChooseCardWrite(const std::string& name) {
  if (overrides_.cardWrite) return overrides_.cardWrite(name);
  CCardWriteDesignDlg dialog(frame_.get(), volumes_, name);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Choice();
}

std::string PictorelApplication::ManageCard(const std::string& folder) {
  design_ui::CWriteCardM dialog(frame_.get(), volumes_, version_, QString::fromStdString(folder),
                                card::kPictorelCardManagerLimits);
  dialog.setOption(QFileDialog::HideNameFilterDetails, true);
  dialog.setNameFilter(QtFilterOf("Embroidery Files(*.qnf)|*.qnf||"));
  dialog.setDefaultSuffix("qnf");
  dialog.exec();
  return dialog.ChosenFolder().toStdString();
}

// ---- the application's commands ----

platform::CommandState PictorelApplication::QueryCommand(int id) const {
  switch (id) {
    case cmd::kAppAbout:
    case cmd::kAppExit:
    case cmd::kFilePrintSetup:
      return {true, true, false};
    case cmd::kFilePrint:
    case cmd::kFilePrintPreview:
      return {true, doc_->Design().GetOutputCount() > 0, false};
    default:
      return {};
  }
}

void PictorelApplication::RunCommand(int id) {
  switch (id) {
    case cmd::kAppAbout: {
      CPictorelAboutDlg about(frame_.get());
      about.exec();
      return;
    }
    case cmd::kAppExit: frame_->close(); return;
    case cmd::kFilePrint: printJob_->Print(); return;
    case cmd::kFilePrintPreview: printJob_->Preview(); return;
    case cmd::kFilePrintSetup: printJob_->Setup(); return;
    default: return;
  }
}

}  // namespace digitizer_ui
