#pragma once

// CBroderaApp: what Brodera's application object knows without a screen. The program
// folder (read-only: fonts, the default dialog folder) and the per-user work folder
// (temporary design files, send lists), the printable page size, the document template's
// strings, the command line, and the application's own commands.

#include <optional>
#include <string>
#include <vector>

#include "editor/view_host.h"
#include "platform/command_line.h"
#include "platform/command_router.h"
#include "platform/recent_file_list.h"

namespace editor {

constexpr char kProgramName[] = "Brodera";
constexpr int kDocTemplateResource = 128;
constexpr char kDocumentString[] =
    "Brodera\n\nBrodera\nBrodera Files (*.bdz)\n.bdz\nEdit.Velinor\nEdit Velinor";
constexpr int kRecentFileCount = 4;

// The command line and the program folder are read as every program reads them.
using platform::CommandLineFileReadable;
using platform::CommandLineInfo;
using platform::ParseCommandLine;
using platform::ProgramFolderOf;

// What is said of a command-line file that cannot be read: "<path>\nThis file was not
// found." when it is not there, else the defective-file message.
std::string CommandLineFailureText(const std::string& path);

// The page in layout units (0.5 mm) from a printer's page in millimetres: twice the
// millimetres; a width below 249 units becomes 498 and a height below 179 units becomes
// 360 (a landscape page of 249 x 180 mm).
PageSize PrintableFromMillimetres(int widthMm, int heightMm);
// The landscape page the layout is measured on until a printer says otherwise, and the
// printable area of the paper printed on when no printer is installed.
constexpr int kFallbackPageWidthMm = 249;
constexpr int kFallbackPageHeightMm = 180;

// $XDG_DATA_HOME/Corvan/Brodera/ (~/.local/share when unset), ending in a separator.
std::string DefaultWorkFolder();

// What the application's commands need of the screen.
class AppActions {
 public:
  virtual ~AppActions() = default;
  virtual void NewLayout() = 0;
  virtual void OpenRecent(const std::string& path) = 0;
  virtual void ShowAbout() = 0;
  // Runs the print-setup dialog; the default printer's page in millimetres afterwards,
  // nothing without a printer.
  virtual std::optional<std::pair<int, int>> RunPrintSetup() = 0;
  virtual void RepaintMainWindow() = 0;
  virtual void Exit() = 0;
};

class CBroderaApp : public platform::CommandTarget {
 public:
  CBroderaApp(std::string programFolder, std::string workFolder);

  const std::string& ProgramFolder() const { return programFolder_; }
  const std::string& WorkFolder() const { return workFolder_; }
  PageSize Printable() const { return printable_; }
  // A printer's page (millimetres) measured; nothing keeps the current size.
  void MeasurePrinter(std::optional<std::pair<int, int>> pageMm);

  platform::RecentFileList& RecentFiles() { return recent_; }
  void SetActions(AppActions* actions) { actions_ = actions; }

  platform::CommandState QueryCommand(int id) const override;
  void RunCommand(int id) override;

 private:
  std::string programFolder_;
  std::string workFolder_;
  PageSize printable_;
  platform::RecentFileList recent_{kProgramName, kRecentFileCount};
  AppActions* actions_ = nullptr;
};

}  // namespace editor
