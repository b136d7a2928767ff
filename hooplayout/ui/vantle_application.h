#pragma once

// Vantle's application at run time: the one document, the main frame and the layout view
// bound together (the program's single document template, resource 128), the help pane
// beside the view, the command route view -> document -> frame -> application, the
// recent-file list of four, a layout named on the command line, and the window placement.
// Everything the commands decide lives in the plain classes; this only connects them to Qt.

#include <memory>
#include <string>

#include "design/card/card_volumes.h"
#include "design/ui/linkpanel_machine_version.h"
#include "platform/command_line.h"
#include "layoutcore/document_host.h"
#include "layoutcore/template_printer.h"
#include "hooplayout/ui/help_view.h"
#include "hooplayout/ui/linkpanel_position_transfer.h"
#include "hooplayout/ui/vantle_main_frame.h"
#include "hooplayout/ui/vantle_print_job.h"
#include "hooplayout/ui/vantle_scroll_view.h"
#include "hooplayout/vantle_app.h"
#include "hooplayout/vantle_commands.h"
#include "hooplayout/vantle_frame_commands.h"
#include "platform/command_router.h"

namespace hooplayout_ui {

// Linkpanel's settings, receive, delete and version dialogs and the card manager, each over
// the main frame.
class LinkpanelMachineDialogs : public hooplayout::MachineDialogs {
 public:
  LinkpanelMachineDialogs(QWidget* frame, card::CardVolumes& volumes, card::MachineVersion& version)
      : frame_(frame), volumes_(volumes), version_(version) {}
  int CommSettings() override;
  int DeleteDesigns() override;
  int ReceiveDesigns() override;
  int SelectVersion() override;
  std::string ManageCard(const std::string& folder) override;

 private:
  QWidget* frame_;
  card::CardVolumes& volumes_;
  card::MachineVersion& version_;
};

class VantleApplication : public editor::DocumentHost,
                          public hooplayout::VantleAppActions,
                          public hooplayout::VantleCommandHost {
 public:
  // programFolder: the install folder, ending in a separator. volumes: the drives the card
  // dialogs offer; the PC's own when null.
  explicit VantleApplication(std::string programFolder, card::CardVolumes* volumes = nullptr);
  ~VantleApplication() override;

  // Opens the command line's layout (else a new one) and shows the main window. False, with
  // the window never shown, when the named file cannot be read at all: the program ends.
  bool Start(const platform::CommandLineInfo& commandLine);
  // Opens a layout as the recent-file entries and the command line do: first the question
  // about unsaved changes.
  bool OpenDocumentFile(const std::string& path);

  CMainFrame& Frame() { return *frame_; }
  CVantleScrollView& ScrollView() { return *scrollView_; }
  CHelpView& HelpView() { return *help_; }
  hooplayout::CVantleView& View() { return *view_; }
  hooplayout::CVantleDoc& Document() { return *doc_; }
  hooplayout::CVantleApp& App() { return app_; }
  editor::CTemplatePrinter& TemplatePrinter() { return templatePrinter_; }
  platform::CommandRouter& Router() { return router_; }
  // Print Template and Print Preview, replaceable so that tests print to a file.
  using PrintRunner = std::function<void(bool preview)>;
  void SetPrintRunner(PrintRunner run) { runPrint_ = std::move(run); }
  // The Rotate/Flip dialog, replaceable for tests.
  using RotateFlipRunner = std::function<std::optional<hooplayout::RotateFlipAnswer>()>;
  void SetRotateFlipRunner(RotateFlipRunner run) { runRotateFlip_ = std::move(run); }

  // ---- VantleAppActions ----
  void OpenRecent(const std::string& path) override;
  void ShowAbout() override;
  void Exit() override;

  // ---- VantleCommandHost ----
  std::optional<hooplayout::RotateFlipAnswer> RunRotateFlipDialog() override;
  void PrintTemplate() override;
  void PreviewTemplate() override;
  hooplayout::PositionTransfer& Transfer() override { return *transfer_; }

  // ---- editor::DocumentHost ----
  std::optional<std::string> ChooseSaveFile(const std::string& folder, const std::string& proposedName) override;
  std::optional<std::string> ChooseOpenFile(const std::string& folder) override;
  std::string ReadSetting(const std::string& section, const std::string& key) override;
  void WriteSetting(const std::string& section, const std::string& key, const std::string& value) override;
  void AddToRecentFiles(const std::string& path) override;
  std::string ProgramFolder() override { return app_.ProgramFolder(); }
  void PostLayoutLoadFailed() override;

 private:
  std::string WindowTitle() const;
  void RepaintMainWindow();

  hooplayout::CVantleApp app_;
  platform::CommandRouter router_;
  card::SystemCardVolumes systemVolumes_;
  design_ui::LinkpanelMachineVersion version_;
  std::unique_ptr<hooplayout::CVantleDoc> doc_;
  std::unique_ptr<CMainFrame> frame_;
  CVantleScrollView* scrollView_ = nullptr;  // owned by the frame
  CHelpView* help_ = nullptr;                // owned by the frame
  std::unique_ptr<hooplayout::CVantleView> view_;
  editor::CTemplatePrinter templatePrinter_;
  std::unique_ptr<hooplayout::CVantleViewCommands> commands_;
  std::unique_ptr<VantlePrintJob> printJob_;
  std::unique_ptr<LinkpanelPositionTransfer> transfer_;
  std::unique_ptr<LinkpanelMachineDialogs> dialogs_;
  std::unique_ptr<hooplayout::CVantleFrameCommands> frameCommands_;
  PrintRunner runPrint_;
  RotateFlipRunner runRotateFlip_;
};

}  // namespace hooplayout_ui
