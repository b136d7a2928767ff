#pragma once

// Brodera's application at run time: the one document, the main frame and the layout
// view bound together (the program's single document template, resource 128), the command
// route view -> document -> frame -> application, the recent-file list of four, files from
// the command line and dropped on the window, and the window placement. Everything the
// commands decide lives in the plain classes; this only connects them to Qt.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/brodera_app.h"
#include "editor/brodera_doc.h"
#include "editor/brodera_view.h"
#include "editor/machine_commands.h"
#include "editor/template_commands.h"
#include "editor/ui/brodera_scroll_view.h"
#include "editor/ui/linkpanel_machine_link.h"
#include "editor/ui/main_frame.h"
#include "editor/ui/printer_page.h"
#include "layoutcore/document_host.h"
#include "layoutcore/ui/template_print_job.h"
#include "platform/command_router.h"

namespace editor_ui {

class BroderaApplication : public editor::AppActions, public editor::DocumentHost {
 public:
  // programFolder: the install folder, computed before anything else is made (the view
  // copies it when it is made).
  BroderaApplication(std::string programFolder, std::string workFolder);
  ~BroderaApplication() override;

  // Opens the command line's file (else a new layout) and shows the main window. False,
  // with the window never shown, when the file cannot be read at all: the program ends.
  bool Start(const editor::CommandLineInfo& commandLine);
  // Opens a layout as the File menu's recent entries, the command line and a dropped file
  // do: first the question about unsaved changes.
  bool OpenDocumentFile(const std::string& path);

  // File dialogs, replaceable for tests: the chosen path, or nothing when cancelled.
  using SaveChooser = std::function<std::optional<std::string>(const std::string& folder, const std::string& name)>;
  using OpenChooser = std::function<std::optional<std::string>(const std::string& folder)>;
  void SetFileChoosers(SaveChooser save, OpenChooser open);

  CMainFrame& Frame() { return *frame_; }
  CBroderaScrollView& ScrollView() { return *scrollView_; }
  editor::CBroderaView& View() { return *view_; }
  editor::CBroderaDoc& Document() { return *doc_; }
  editor::CBroderaApp& App() { return app_; }
  editor::CMachineCommands& MachineCommands() { return *machine_; }
  editor::TemplateCommands& Templates() { return *templates_; }
  platform::CommandRouter& Router() { return router_; }
  ProgramPrinter& Printer() { return printer_; }

  // ---- editor::AppActions ----
  void NewLayout() override;
  void OpenRecent(const std::string& path) override;
  void ShowAbout() override;
  std::optional<std::pair<int, int>> RunPrintSetup() override;
  void RepaintMainWindow() override;
  void Exit() override;

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

  editor::CBroderaApp app_;
  ProgramPrinter printer_;
  platform::CommandRouter router_;
  std::unique_ptr<editor::CBroderaDoc> doc_;
  std::unique_ptr<CMainFrame> frame_;
  CBroderaScrollView* scrollView_ = nullptr;  // owned by the frame
  std::unique_ptr<editor::CBroderaView> view_;
  std::unique_ptr<LinkpanelMachineLink> link_;
  std::unique_ptr<editor::CMachineCommands> machine_;
  // Template printing: the modes follow the view's commands in the route.
  editor::CTemplatePrinter templatePrinter_;
  std::unique_ptr<editor::TemplateCommands> templates_;
  std::unique_ptr<TemplatePrintJob> printJob_;
  SaveChooser chooseSave_;
  OpenChooser chooseOpen_;
};

}  // namespace editor_ui
