#pragma once

// CVantleApp: what Vantle's application object knows without a screen: the program folder
// (the first folder of every file dialog whose profile entry is empty), the document
// template's strings, the recent-file list of four, the page size the template printer
// works with, and the application's own commands (About, Exit, the recent files).

#include <string>

#include "layoutcore/layout_geometry.h"
#include "platform/command_router.h"
#include "platform/recent_file_list.h"

namespace hooplayout {

inline constexpr char kAppTitle[] = "Tessaly";
inline constexpr int kDocTemplateResource = 128;
inline constexpr char kDocumentString[] =
    "Tessaly\nUntitled.arg\nArg\nLayout File(*.arg)\n.arg\nArg.Velinor\nMaxiframe Velinor";
inline constexpr int kRecentFileCount = 4;

class VantleAppActions {
 public:
  virtual ~VantleAppActions() = default;
  virtual void OpenRecent(const std::string& path) = 0;
  virtual void ShowAbout() = 0;
  virtual void Exit() = 0;
};

class CVantleApp : public platform::CommandTarget {
 public:
  explicit CVantleApp(std::string programFolder) : programFolder_(std::move(programFolder)) {}

  const std::string& ProgramFolder() const { return programFolder_; }
  platform::RecentFileList& RecentFiles() { return recent_; }
  // The printed page in half-millimetres, handed over by the view.
  editor::PageSize Page() const { return page_; }
  void SetPage(editor::PageSize page) { page_ = page; }
  void SetActions(VantleAppActions* actions) { actions_ = actions; }

  platform::CommandState QueryCommand(int id) const override;
  void RunCommand(int id) override;

 private:
  std::string programFolder_;
  platform::RecentFileList recent_{kAppTitle, kRecentFileCount};
  editor::PageSize page_{498, 360};
  VantleAppActions* actions_ = nullptr;
};

}  // namespace hooplayout
