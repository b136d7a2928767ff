#pragma once

// The main frame of a single-document program: menus and tool buttons whose actions are
// command numbers sent along the command router (view, document, frame, application),
// enabled and ticked by the router's update rules; status panes whose texts come from a
// text source; the recent-file entries of the File menu; files dropped on the window; the
// question before the window closes; and the window placement kept in the profile
// ("Settings"/"wp").

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMimeData>
#include <QMenu>
#include <QTimer>
#include <QToolBar>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/command_router.h"

namespace platform_ui {

// One menu entry: the text may carry "\t" and a shortcut ("&Save\tCtrl+S"); id 0 is a
// separator; a non-empty submenu makes a submenu.
struct MenuEntry {
  std::string text;
  int id = 0;
  std::vector<MenuEntry> submenu;
};

struct MenuSpec {
  std::string title;
  std::vector<MenuEntry> entries;
};

class DocFrame : public QMainWindow {
 public:
  DocFrame(platform::CommandRouter& router, std::string program);
  ~DocFrame() override;

  // Builds the menu bar. An entry with the id firstRecentFile (and the next count - 1
  // numbers) holds the recent files.
  void BuildMenus(const std::vector<MenuSpec>& menus, int firstRecentFile, int recentCount);
  QToolBar* AddToolButtons(const std::vector<MenuEntry>& buttons);
  // Gives the toolbar button at position (separators counted) an arrow with a pop-up of
  // commands; the button itself still runs its own command.
  void AddDropDown(QToolBar& bar, int position, const std::vector<MenuEntry>& popup, const char* objectName);
  void AddStatusPanes(const std::vector<int>& paneIds);
  // Keys that run a command no menu item shows ("Ctrl+X", "Shift+Del"); they follow the
  // command's enabled state like a menu item.
  void AddAccelerators(int id, const std::vector<std::string>& keys);
  void SetPaneTextSource(std::function<std::optional<std::string>(int)> source) {
    paneText_ = std::move(source);
  }
  void SetRecentFiles(const std::vector<std::string>& paths);
  void SetDropHandler(std::function<void(const std::string&)> onDrop) { onDrop_ = std::move(onDrop); }
  // What a drop on the window does: opens the first local file; false when there is none.
  bool DropFiles(const QMimeData& mime);
  // Asked before the window closes; false keeps it open.
  void SetCloseQuery(std::function<bool()> canClose) { canClose_ = std::move(canClose); }
  void SetTitleSource(std::function<std::string()> title) { title_ = std::move(title); }

  // The action of a command (the first made for it), or null.
  QAction* Action(int id) const;
  QLabel* Pane(int id) const;
  // Brings every action's enabled and ticked state, the panes and the title up to date;
  // runs on an idle timer and before a menu opens.
  void UpdateCommandUi();
  // Sends a command as a menu would.
  bool Dispatch(int id);

  // The size a window without a saved placement first opens at: the program's own, or the
  // size for a narrow screen, never more than the screen's free area holds with the title
  // bar and border the window manager adds; centred in that area.
  void SizeForScreen(int width, int height);
  // Applies the saved placement when there is a complete one; else shows normally.
  void ShowWithSavedPlacement();
  void SavePlacement();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void AddEntries(QMenu* menu, const std::vector<MenuEntry>& entries);
  QAction* MakeAction(const MenuEntry& entry, QObject* parent);

  platform::CommandRouter& router_;
  std::string program_;
  std::multimap<int, QAction*> actions_;
  std::map<int, QLabel*> panes_;
  std::vector<QAction*> recentActions_;
  int firstRecentFile_ = 0;
  int recentCount_ = 0;
  std::function<std::optional<std::string>(int)> paneText_;
  std::function<void(const std::string&)> onDrop_;
  std::function<bool()> canClose_;
  std::function<std::string()> title_;
  QTimer idle_;
};

}  // namespace platform_ui
