#pragma once

// Pictorel at run time: the one document (CImportDoc), the main frame and its two views bound
// together, the command route (stitch view, picture view, design, document, frame, machine,
// application), the real dialogs behind the commands' dialog interfaces, printing, the
// command line, dropped files and the window placement. Everything the commands decide lives
// in the plain classes; this only connects them to Qt.

#include <QObject>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "design/card/card_volumes.h"
#include "design/ui/linkpanel_machine_version.h"
#include "digitizer/design_commands.h"
#include "digitizer/document_commands.h"
#include "digitizer/machine_commands.h"
#include "digitizer/pictorel_send_link.h"
#include "digitizer/ui/main_frame.h"
#include "digitizer/ui/picture_scroll_view.h"
#include "digitizer/ui/stitch_print_job.h"
#include "platform/command_line.h"
#include "platform/command_router.h"

namespace digitizer_ui {

constexpr char kPictorelProgram[] = "Pictorel";
constexpr int kPictorelSplashBitmap = 157;
constexpr char kNoPrinterText[] = "There is no default printer.\nInstall and select default printer.";

class PictorelApplication : public digitizer::DesignDialogs,
                            public digitizer::DesignCommandHost,
                            public digitizer::DocumentDialogs,
                            public digitizer::DocumentViews,
                            public digitizer::MachineDialogs,
                            public platform::CommandTarget {
 public:
  // programFolder: the install folder; workFolder: where send lists and pieces are written.
  // volumes: the drives the card dialogs offer (the PC's own when null).
  PictorelApplication(std::filesystem::path programFolder, std::filesystem::path workFolder,
                      card::CardVolumes* volumes = nullptr);
  ~PictorelApplication() override;

  // Opens the command line's file (else a new document) and shows the window. False when the
  // named file cannot be read at all: the program ends.
  bool Start(const platform::CommandLineInfo& commandLine);

  CMainFrame& Frame() { return *frame_; }
  digitizer::CImportDoc& Document() { return *doc_; }
  digitizer::DocumentCommands& DocumentCommands() { return *docCommands_; }
  digitizer::DesignCommands& DesignCommands() { return *designCommands_; }
  platform::CommandRouter& Router() { return router_; }
  StitchPrintJob& PrintJob() { return *printJob_; }
  CBmpView& PictureView() { return *pictureView_; }

  // Each modal dialog the commands open can be answered by a test instead; unset, the real
  // dialog runs.
  struct Overrides {
    std::function<std::optional<std::filesystem::path>(digitizer::FileDialogKind, const std::string& name)> chooseFile;
    std::function<std::optional<digitizer::MakeStitchOptions>(const digitizer::MakeStitchOptions&)> makeOptions;
    std::function<std::optional<digitizer::ModifySettings>(const digitizer::ModifySettings&)> modify;
    std::function<std::optional<digitizer::CardDialogChoice>(const std::string& name)> cardWrite;
    std::function<std::optional<int>()> hoop;
  };
  Overrides& TestOverrides() { return overrides_; }

  // ---- digitizer::DesignDialogs ----
  std::optional<digitizer::MakeStitchOptions> ChooseMakeOptions(const digitizer::CStitchDesign& design,
                                                                const digitizer::MakeStitchOptions& start) override;
  digitizer::MakeStitchEnd RunMaking(digitizer::MakeStitchRun& run, digitizer::CStitchDesign& design,
                                     const digitizer::MakeStitchOptions& options) override;
  std::optional<digitizer::ModifySettings> ChooseModify(const digitizer::ModifySettings& start) override;
  EditPartsAnswer EditParts(digitizer::CPartList& parts, int maskWidth, int maskHeight) override;
  bool AskYesNo(const char* text, const char* caption) override;

  // ---- digitizer::DesignCommandHost ----
  void SetModified(bool modified) override;
  void UpdateAllViews() override;
  void RequestRemake() override;

  // ---- digitizer::DocumentDialogs ----
  std::optional<std::filesystem::path> ChooseFile(digitizer::FileDialogKind kind, const std::filesystem::path& folder,
                                                  const std::string& name) override;
  std::optional<digitizer::SewChoice> ChooseSewFile(const std::filesystem::path& folder) override;
  std::optional<int> ChooseHoop() override;

  // ---- digitizer::DocumentViews ----
  bool PrepareOutline(digitizer::CDib& outline) override;
  void DocumentChanged() override;
  void RecentFilesChanged() override;

  // ---- digitizer::MachineDialogs ----
  int SendFiles(std::string& folder) override;
  int ReceiveDesigns() override;
  int DeleteDesigns() override;
  int SerialSettings() override;
  void SelectVersion() override;
  std::optional<digitizer::CardDialogChoice> ChooseCardWrite(const std::string& name) override;
  std::string ManageCard(const std::string& folder) override;

  // ---- the application's own commands: About, Exit, printing ----
  platform::CommandState QueryCommand(int id) const override;
  void RunCommand(int id) override;

 private:
  std::string WindowTitle() const;
  void RepaintViews();
  // The stitch view's own command (Background Color).
  class StitchViewCommands;
  // Holds every command while a worker writes the design.
  class WorkerGuard;

  std::filesystem::path programFolder_;
  std::filesystem::path workFolder_;
  card::SystemCardVolumes systemVolumes_;
  card::CardVolumes& volumes_;
  design_ui::LinkpanelMachineVersion version_;
  digitizer::LinkpanelPictorelLink link_;
  platform::CommandRouter router_;
  std::unique_ptr<digitizer::CImportDoc> doc_;
  std::unique_ptr<CMainFrame> frame_;
  CBmpView* pictureView_ = nullptr;  // owned by the frame's splitter
  std::unique_ptr<WorkerGuard> workerGuard_;
  std::unique_ptr<StitchViewCommands> viewCommands_;
  std::unique_ptr<digitizer::DesignCommands> designCommands_;
  std::unique_ptr<digitizer::DocumentCommands> docCommands_;
  std::unique_ptr<digitizer::MachineCommands> machine_;
  std::unique_ptr<StitchPrintJob> printJob_;
  Overrides overrides_;
};

}  // namespace digitizer_ui
