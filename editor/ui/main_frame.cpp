#include "editor/ui/main_frame.h"

#include <QToolBar>
#include <QToolButton>

#include "editor/brodera_app.h"
#include "editor/command_ids.h"
#include "editor/template_commands.h"
#include "editor/ui/toolbar_images.h"

namespace editor_ui {

namespace cmd = editor::cmd;
using platform_ui::MenuEntry;

namespace {

// Places of the two drop-down buttons on the toolbar, separators counted.
constexpr int kRotateButtonPos = 9;
constexpr int kZoomButtonPos = 20;
constexpr int kButtonWidth = 30;
constexpr int kButtonHeight = 28;

std::vector<platform_ui::MenuSpec> BroderaMenus() {
  std::vector<MenuEntry> recent;
  for (int i = 0; i < editor::kRecentFileCount; ++i) recent.push_back({"Recent File", cmd::kFileMru1 + i, {}});
  std::vector<MenuEntry> file{
      {"&New\tCtrl+N", cmd::kFileNew, {}},     {"&Open...\tCtrl+O", cmd::kFileOpen, {}},
      {"&Save\tCtrl+S", cmd::kFileSave, {}},   {"Save &As...", cmd::kFileSaveAs, {}},
      {"", 0, {}},                             {"&Print Template...\tCtrl+P", cmd::kFilePrint, {}},
      {"Print Pre&view", cmd::kFilePrintPreview, {}}, {"P&rint Setup...", cmd::kFilePrintSetup, {}},
      {"", 0, {}},                             {"&Outline Template", cmd::kOutlineTemplate, {}},
      {"&Color Template", cmd::kColourTemplate, {}}, {"Color Vie&w", cmd::kColourView, {}},
      {"", 0, {}}};
  file.insert(file.end(), recent.begin(), recent.end());
  file.push_back({"", 0, {}});
  file.push_back({"E&xit", cmd::kAppExit, {}});
  return {
      {"&File", file},
      {"&Edit",
       {{"&Undo\tCtrl+Z", cmd::kEditUndo, {}},
        {"", 0, {}},
        {"&Copy\tCtrl+C", cmd::kEditCopy, {}},
        {"&Paste\tCtrl+V", cmd::kEditPaste, {}},
        {"&Delete\tCtrl+D", cmd::kDelete, {}},
        {"", 0, {}},
        {"&Import Design...\tCtrl+I", cmd::kImportDesign, {}},
        {"&Monogram...\tCtrl+M", cmd::kMonogram, {}},
        {"", 0, {}},
        {"&Rotate/Flip...\tCtrl+R", cmd::kRotateFlip, {}},
        {"Rotate 90 C&W", cmd::kRotate90, {}},
        {"Auto Layout", 0, {{"Cen&ter", cmd::kAutoLayoutCentre, {}}, {"Cor&ner", cmd::kAutoLayoutCorner, {}}}},
        {"C&ombine", cmd::kCombine, {}},
        {"", 0, {}},
        {"&Number of Sheets for Layout...", cmd::kSheets, {}},
        {"", 0, {}},
        {"Standard Hoop A (110 x 110)", cmd::kStandardHoop, {}},
        {"Large Hoop B (140 x 200)", cmd::kLargeHoop, {}}}},
      {"&View",
       {{"Zoom &In", cmd::kZoomIn, {}},
        {"Zoom &Out", cmd::kZoomOut, {}},
        {"&Actual Size", cmd::kActualSize, {}},
        {"Zoom to",
         0,
         {{"50%", cmd::kZoom50, {}},
          {"75%", cmd::kZoom75, {}},
          {"100%", cmd::kZoom100, {}},
          {"200%", cmd::kZoom200, {}},
          {"400%", cmd::kZoom400, {}},
          {"600%", cmd::kZoom600, {}},
          {"800%", cmd::kZoom800, {}}}},
        {"C&ustom Zoom...", cmd::kCustomZoom, {}},
        {"&Over View", cmd::kOverView, {}},
        {"", 0, {}},
        {"&Background Color...", cmd::kBackgroundColour, {}},
        {"Grid", 0, {{"&Light Gray", cmd::kGridLightGray, {}}, {"&Gray", cmd::kGridGray, {}}}},
        {"Center Line", 0, {{"Blac&k Line", cmd::kCentreLineBlack, {}}, {"&White", cmd::kCentreLineWhite, {}}}}}},
      {"&Halvora",
       {{"&Send Designs...\tCtrl+W", cmd::kSendDesigns, {}},
        {"&Receive Designs...", cmd::kReceiveDesigns, {}},
        {"&Delete Designs...", cmd::kDeleteMachineDesigns, {}},
        {"", 0, {}},
        {"RS-232&C Settings...", cmd::kCommSettings, {}},
        {"Select Machine's Version", cmd::kMachineVersion, {}}}},
      {"&ATA Card",
       {{"Write &Designs...\tCtrl+Q", cmd::kWriteDesigns, {}},
        {"Write Design&s, Read and  Erase...\tCtrl+U", cmd::kCardManager, {}}}},
      {"&Help", {{"&About Brodera...", cmd::kAppAbout, {}}}},
  };
}

// The pop-ups of the toolbar's two drop-down buttons.
std::vector<MenuEntry> RotatePopup() {
  return {{"90 degrees", cmd::kRotate90, {}}, {"180 degrees", cmd::kRotate180, {}}, {"270 degrees", cmd::kRotate270, {}}};
}

std::vector<MenuEntry> ZoomPopup() {
  return {{"50%", cmd::kZoom50, {}},   {"75%", cmd::kZoom75, {}},   {"100%", cmd::kZoom100, {}},
          {"200%", cmd::kZoom200, {}}, {"400%", cmd::kZoom400, {}}, {"600%", cmd::kZoom600, {}},
          {"800%", cmd::kZoom800, {}}};
}

}  // namespace

CMainFrame::CMainFrame(platform::CommandRouter& router) : DocFrame(router, editor::kProgramName) {
  BuildMenus(BroderaMenus(), cmd::kFileMru1, editor::kRecentFileCount);
  const std::vector<MenuEntry> buttons{{"New", cmd::kFileNew, {}},
                                       {"Open", cmd::kFileOpen, {}},
                                       {"Save", cmd::kFileSave, {}},
                                       {"", 0, {}},
                                       {"Import", cmd::kImportDesign, {}},
                                       {"Monogram", cmd::kMonogram, {}},
                                       {"Copy", cmd::kEditCopy, {}},
                                       {"Paste", cmd::kEditPaste, {}},
                                       {"", 0, {}},
                                       {"Rotate", cmd::kRotate90, {}},
                                       {"Flip V", cmd::kFlipV, {}},
                                       {"Flip H", cmd::kFlipH, {}},
                                       {"Undo", cmd::kEditUndo, {}},
                                       {"", 0, {}},
                                       {"Delete", cmd::kDelete, {}},
                                       {"Print", cmd::kFilePrint, {}},
                                       {"Send Designs", cmd::kSendDesigns, {}},
                                       {"Write Designs", cmd::kWriteDesigns, {}},
                                       {"Combine", cmd::kCombine, {}},
                                       {"", 0, {}},
                                       {"Zoom", cmd::kZoomTool, {}}};
  QToolBar* bar = AddToolButtons(buttons);
  // Images only, 22 x 21 on 30 x 28 buttons: the whole bar fits the initial window.
  bar->setIconSize(QSize(kToolbarImageWidth, kToolbarImageHeight));
  bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  bar->setMovable(false);
  const QList<QAction*> actions = bar->actions();
  for (std::size_t i = 0; i < buttons.size() && i < static_cast<std::size_t>(actions.size()); ++i) {
    if (buttons[i].id == 0) continue;
    QAction* action = actions[static_cast<qsizetype>(i)];
    action->setIcon(ToolbarIcon(buttons[i].id));
    action->setToolTip(QString::fromStdString(buttons[i].text));
    // Fly-by help: the status bar says what the button does while the mouse is over it.
    action->setStatusTip(ToolbarHelp(buttons[i].id));
    if (QWidget* button = bar->widgetForAction(action)) button->setMinimumSize(kButtonWidth, kButtonHeight);
  }
  AddDropDown(*bar, kRotateButtonPos, RotatePopup(), "rotateDropDown");
  AddDropDown(*bar, kZoomButtonPos, ZoomPopup(), "zoomDropDown");
  AddStatusPanes({cmd::kPaneHoop, cmd::kPaneSheets, cmd::kPaneZoom, cmd::kPaneMode, cmd::kPaneTemplate});
}

}  // namespace editor_ui
