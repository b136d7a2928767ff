#include "hooplayout/ui/vantle_main_frame.h"

#include <QLabel>
#include <QStatusBar>
#include <QToolBar>

#include "hooplayout/ui/toolbar_icons.h"
#include "hooplayout/vantle_app.h"
#include "hooplayout/vantle_command_ids.h"

namespace hooplayout_ui {

namespace {

namespace cmd = hooplayout::cmd;
using platform_ui::MenuEntry;

// Places of the two drop-down buttons on the toolbar, separators counted.
constexpr int kRotateButtonPos = 9;
constexpr int kZoomButtonPos = 19;
constexpr int kLayoutColumnWidth = 500;
constexpr int kHelpColumnWidth = 700;
const QSize kToolImage(22, 21);

std::vector<platform_ui::MenuSpec> VantleMenus() {
  std::vector<MenuEntry> file{{"&New\tCtrl+N", cmd::kFileNew, {}},
                              {"&Open...\tCtrl+O", cmd::kFileOpen, {}},
                              {"&Save\tCtrl+S", cmd::kFileSave, {}},
                              {"Save &As...", cmd::kFileSaveAs, {}},
                              {"", 0, {}},
                              {"&Print Template...\tCtrl+P", cmd::kFilePrint, {}},
                              {"Print Pre&view", cmd::kFilePrintPreview, {}},
                              {"&Template Mode",
                               0,
                               {{"O&utline Template", cmd::kOutlineTemplate, {}},
                                {"&Color Template", cmd::kColourTemplate, {}},
                                {"Color Vie&w", cmd::kColourView, {}}}},
                              {"", 0, {}}};
  for (int i = 0; i < hooplayout::kRecentFileCount; ++i) file.push_back({"Recent File", cmd::kFileMru1 + i, {}});
  file.push_back({"", 0, {}});
  file.push_back({"E&xit", cmd::kAppExit, {}});
  return {
      {"&File", file},
      {"&Edit",
       {{"&Undo\tCtrl+Z", cmd::kUndo, {}},
        {"", 0, {}},
        {"&Copy\tCtrl+C", cmd::kCopy, {}},
        {"&Paste\tCtrl+V", cmd::kPaste, {}},
        {"&Delete\tCtrl+D", cmd::kDelete, {}},
        {"", 0, {}},
        {"&Import Design...\tCtrl+I", cmd::kImportDesign, {}},
        // The accelerators of these two are Ctrl+M and Ctrl+R.
        {"&Monogram...\tCtrl+M", cmd::kMonogram, {}},
        {"", 0, {}},
        {"&Rotate/Flip...\tCtrl+R", cmd::kRotateFlip, {}},
        {"Rotate 90 C&W", cmd::kRotate90, {}},
        {"Corner Layout\tCtrl+L", cmd::kCornerLayout, {}}}},
      {"&Halvora",
       {{"&Send Designs...\tCtrl+W", cmd::kSendDesigns, {}},
        {"&Receive Designs...", cmd::kReceiveDesigns, {}},
        {"&Delete Designs...", cmd::kDeleteMachineDesigns, {}},
        {"", 0, {}},
        {"RS-232&C Settings...", cmd::kCommSettings, {}},
        {"Select Machine's Version", cmd::kMachineVersion, {}}}},
      {"&ATA Card",
       {{"Write Designs...\tCtrl+Q", cmd::kWriteDesigns, {}},
        {"Write Designs, Read and Erase\tCtrl+U", cmd::kCardManager, {}}}},
      {"&View",
       {{"Zoom &In", cmd::kZoomIn, {}},
        {"Zoom &Out", cmd::kZoomOut, {}},
        {"&Actual Size", cmd::kActualSize, {}},
        {"C&ustom Zoom...", cmd::kCustomZoom, {}},
        {"", 0, {}},
        {"&Background", cmd::kBackground, {}}}},
      {"&Help", {{"&About Tessaly...", cmd::kAppAbout, {}}}},
  };
}

const std::vector<MenuEntry>& ToolButtons() {
  static const std::vector<MenuEntry> buttons{
      {"New", cmd::kFileNew, {}},
      {"Open", cmd::kFileOpen, {}},
      {"Save", cmd::kFileSave, {}},
      {"", 0, {}},
      {"Import Design", cmd::kImportDesign, {}},
      {"Monogram", cmd::kMonogram, {}},
      {"Copy", cmd::kCopy, {}},
      {"Paste", cmd::kPaste, {}},
      {"", 0, {}},
      {"Rotate 90", cmd::kRotate90, {}},
      {"Flip Vertical", cmd::kFlipVertical, {}},
      {"Flip Horizontal", cmd::kFlipHorizontal, {}},
      {"Undo", cmd::kUndo, {}},
      {"", 0, {}},
      {"Delete", cmd::kDelete, {}},
      {"Print Template", cmd::kFilePrint, {}},
      {"Send Designs", cmd::kSendDesigns, {}},
      {"Write Designs", cmd::kWriteDesigns, {}},
      {"", 0, {}},
      {"Zoom", cmd::kZoomTool, {}}};
  return buttons;
}

std::vector<MenuEntry> RotatePopup() {
  return {{"90 degrees", cmd::kRotate90, {}}, {"180 degrees", cmd::kRotate180, {}}, {"270 degrees", cmd::kRotate270, {}}};
}

std::vector<MenuEntry> ZoomPopup() {
  std::vector<MenuEntry> popup;
  const char* texts[] = {"50%", "75%", "100%", "200%", "400%", "600%", "800%"};
  for (int i = 0; i <= cmd::kZoom800 - cmd::kZoom50; ++i) popup.push_back({texts[i], cmd::kZoom50 + i, {}});
  return popup;
}

}  // namespace

CMainFrame::CMainFrame(platform::CommandRouter& router) : DocFrame(router, hooplayout::kAppTitle) {
  BuildMenus(VantleMenus(), cmd::kFileMru1, hooplayout::kRecentFileCount);
  QToolBar* bar = AddToolButtons(ToolButtons());
  bar->setIconSize(kToolImage);
  bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  const QList<QAction*> placed = bar->actions();
  for (int i = 0; i < placed.size() && i < static_cast<int>(ToolButtons().size()); ++i) {
    const MenuEntry& entry = ToolButtons()[static_cast<std::size_t>(i)];
    if (entry.id == 0) continue;
    placed[i]->setIcon(ToolbarIcon(entry.id));
    placed[i]->setToolTip(QString::fromStdString(entry.text));
  }
  AddDropDown(*bar, kRotateButtonPos, RotatePopup(), "rotateDropDown");
  AddDropDown(*bar, kZoomButtonPos, ZoomPopup(), "zoomDropDown");
  AddStatusPanes({cmd::kPaneZoom, cmd::kPaneTemplate});
  // The idle text of the message pane: a menu prompt or other message covers it for a
  // while, and it shows again when that message clears.
  auto* idle = new QLabel("Ready", statusBar());
  idle->setObjectName("idleMessage");
  statusBar()->addWidget(idle, 1);

  splitter_ = new QSplitter(Qt::Horizontal, this);
  splitter_->setObjectName("layoutAndHelp");
  splitter_->setChildrenCollapsible(false);
  setCentralWidget(splitter_);
}

void CMainFrame::SetPanes(QWidget* layoutView, QWidget* helpPane) {
  splitter_->addWidget(layoutView);
  splitter_->addWidget(helpPane);
  // The layout column keeps its width; room gained or lost with the window is the help pane's.
  splitter_->setStretchFactor(0, 0);
  splitter_->setStretchFactor(1, 1);
  splitter_->setSizes({kLayoutColumnWidth, kHelpColumnWidth});
}

}  // namespace hooplayout_ui
