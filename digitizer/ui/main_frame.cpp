#include "digitizer/ui/main_frame.h"

#include <QGuiApplication>
#include <QMetaObject>
#include <QScreen>
#include <QStatusBar>

#include "design/thread_colors.h"
#include "digitizer/document_commands.h"
#include "digitizer/part_names.h"
#include "digitizer/pictorel_commands.h"
#include "digitizer/picture_view_commands.h"
#include "digitizer/ui/frame_images.h"
#include "platform/message_box.h"

namespace digitizer_ui {

namespace cmd = digitizer::cmd;
namespace pcmd = digitizer::pview_cmd;
using platform_ui::MenuEntry;

namespace {

constexpr char kProgram[] = "Pictorel";
constexpr int kPictureInitialWidth = 500;
// Pane widths of the status bar, in characters' room.
constexpr int kPaneWidths[] = {40, 58, 20, 250};

std::vector<MenuEntry> HoopPopup() {
  return {{"Standard Hoop", cmd::kStandardHoop, {}}, {"Large Hoop", cmd::kLargeHoop, {}}, {"Small Hoop", cmd::kSmallHoop, {}}};
}

std::vector<MenuEntry> OpenPopup() {
  return {{"Import Bitmap ( .bmp )", cmd::kImportBitmap, {}},
          {"Import Clipart ( .wmf )", cmd::kImportClipart, {}},
          {"Bitmap Outline ( .bmp )", cmd::kBitmapOutline, {}},
          {"Sew File  ( .sew)", cmd::kSewFile, {}}};
}

std::vector<MenuEntry> OutlinePopup() {
  return {{"A&uto Register...", pcmd::kAutoRegister, {}}, {"Preview Outline...", pcmd::kPreviewOutline, {}}};
}

std::vector<MenuEntry> DrawingZoomPopup() {
  std::vector<MenuEntry> entries;
  for (int id = cmd::kBitmapZoom1; id <= cmd::kBitmapZoom5; ++id) {
    entries.push_back({std::to_string(id - cmd::kBitmapZoom1 + 1) + " x", id, {}});
  }
  return entries;
}

std::vector<MenuEntry> StitchZoomPopup() {
  return {{"50%", cmd::kStitchZoom50, {}},     {"75%", cmd::kStitchZoom50 + 1, {}},
          {"100%", cmd::kStitchZoom50 + 2, {}}, {"150%", cmd::kStitchZoom50 + 3, {}},
          {"200%", cmd::kStitchZoom50 + 4, {}}, {"300%", cmd::kStitchZoom50 + 5, {}},
          {"400%", cmd::kStitchZoom50 + 6, {}}, {"500%", cmd::kStitchZoom500, {}}};
}

std::vector<platform_ui::MenuSpec> PictorelMenus() {
  std::vector<MenuEntry> file{{"&New\tCtrl+N", cmd::kFileNew, {}},
                              {"New Hoop", 0, HoopPopup()},
                              {"&Open...\tCtrl+O", cmd::kFileOpen, {}},
                              {"Open S&ew File...\tAlt+O", cmd::kOpenSewFile, {}},
                              {"&Import Clipart\tCtrl+I", cmd::kImportPicture, {}},
                              {"Import", 0, OpenPopup()},
                              {"&Save\tCtrl+S", cmd::kFileSave, {}},
                              {"Save &As...", cmd::kFileSaveAs, {}},
                              {"", 0, {}},
                              {"&Print...\tCtrl+P", cmd::kFilePrint, {}},
                              {"Print Pre&view", cmd::kFilePrintPreview, {}},
                              {"P&rint Setup...", cmd::kFilePrintSetup, {}},
                              {"", 0, {}}};
  for (int i = 0; i < digitizer::kPictorelRecentFiles; ++i) file.push_back({"Recent File", cmd::kFileMru1 + i, {}});
  file.push_back({"", 0, {}});
  file.push_back({"E&xit", cmd::kAppExit, {}});
  return {
      {"&File", file},
      {"&Edit",
       {{"&Copy\tCtrl+C", pcmd::kEditCopy, {}},
        {"&Paste\tCtrl+V", pcmd::kEditPaste, {}},
        {"", 0, {}},
        {"&Outline\tCtrl+T", pcmd::kOutline, {}},
        {"A&uto Register...\tAlt+G", pcmd::kAutoRegister, {}},
        {"Preview Outline...", pcmd::kPreviewOutline, {}},
        {"&Tracing Options...", pcmd::kTracingOptions, {}},
        {"", 0, {}},
        {"Pe&ncil", pcmd::kPencil, {}},
        {"&Eraser", pcmd::kEraser, {}},
        {"Eraser Size",
         0,
         {{"&Small Eraser", pcmd::kEraserSmall, {}},
          {"&Medium Eraser", pcmd::kEraserMedium, {}},
          {"&Large Eraser", pcmd::kEraserLarge, {}}}},
        {"", 0, {}},
        {"&Fill...\tCtrl+F", pcmd::kFill, {}},
        {"&Line...\tCtrl+L", pcmd::kLine, {}},
        {"&All Lines", pcmd::kAllLines, {}},
        {"Regis&ter\tCtrl+G", pcmd::kRegister, {}}}},
      {"&Design",
       {{"&Edit Parts...\tCtrl+E", cmd::kEditParts, {}},
        {"&Make/Modify Stitch...\tCtrl+K", cmd::kMakeStitch, {}},
        {"&Return to Edit\tCtrl+R", cmd::kReturnToEdit, {}},
        {"", 0, {}},
        {"&Delete All Parts...\tCtrl+D", cmd::kDeleteAllParts, {}}}},
      {"&View",
       {{"&Toolbar", cmd::kViewToolbar, {}},
        {"&Color && Stitch Bar", cmd::kViewColorBar, {}},
        {"", 0, {}},
        {"&Zoom Drawing", cmd::kZoomDrawing, {}},
        {"Drawing Size", 0, DrawingZoomPopup()},
        {"Zoo&m Stitch Image", cmd::kZoomStitchImage, {}},
        {"Stitch Image Size", 0, StitchZoomPopup()},
        {"", 0, {}},
        {"&Background Color...", cmd::kBackgroundColor, {}}}},
      {"&Halvora",
       {{"Send &a Design...\tCtrl+A", cmd::kSendDesign, {}},
        {"&Send Designs...\tCtrl+W", cmd::kSendDesigns, {}},
        {"&Receive Designs...", cmd::kReceiveDesigns, {}},
        {"&Delete Designs...", cmd::kDeleteDesigns, {}},
        {"", 0, {}},
        {"RS-232&C Settings...", cmd::kSerialSettings, {}},
        {"Select Machine's Version", cmd::kSelectVersion, {}}}},
      {"&ATA Card",
       {{"Write &a Design...\tCtrl+Q", cmd::kCardWriteDesign, {}},
        {"Write Design&s, Read and Erase...\tCtrl+U", cmd::kCardManager, {}}}},
      {"&Help", {{"&About Pictorel...", cmd::kAppAbout, {}}}},
  };
}

void SetIcons(QToolBar& bar) {
  for (QAction* action : bar.actions()) {
    if (action->isSeparator()) continue;
    const int id = action->data().toInt();
    if (id != 0) action->setIcon(ToolIcon(id));
  }
}

// Gives each tool button its command number, for its picture.
void TagButtons(QToolBar& bar, const std::vector<MenuEntry>& entries) {
  const QList<QAction*> actions = bar.actions();
  for (int i = 0; i < actions.size() && i < static_cast<int>(entries.size()); ++i) {
    actions[i]->setData(entries[static_cast<std::size_t>(i)].id);
    actions[i]->setToolTip(QString::fromStdString(entries[static_cast<std::size_t>(i)].text));
  }
}

QColor ThreadColour(int index) {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  design::ThreadColorInfo(index, red, green, blue);
  return QColor(red, green, blue);
}

}  // namespace

CMainFrame::CMainFrame(platform::CommandRouter& router, std::function<int()> pictureState)
    : DocFrame(router, kProgram), pictureState_(std::move(pictureState)) {
  setObjectName("pictorelFrame");
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    if (const auto size = digitizer::FrameWindowSize(screen->geometry().width())) {
      resize(size->first, size->second);
    } else {
      resize(1100, 760);
    }
  }
  BuildMenus(PictorelMenus(), cmd::kFileMru1, digitizer::kPictorelRecentFiles);
  // Cut has keys but no menu item.
  AddAccelerators(pcmd::kEditCut, {"Ctrl+X", "Shift+Del"});
  BuildBars();

  splitter_ = new QSplitter(Qt::Horizontal, this);
  splitter_->setObjectName("paneSplitter");
  picture_ = new QLabel(QStringLiteral("Picture"), splitter_);
  static_cast<QLabel*>(picture_)->setAlignment(Qt::AlignCenter);
  picture_->setObjectName("picturePlaceholder");
  stitchView_ = new CStcView(splitter_);
  stitchView_->setObjectName("stitchView");
  splitter_->addWidget(picture_);
  splitter_->addWidget(stitchView_);
  splitter_->setSizes({kPictureInitialWidth, kPictureInitialWidth});
  setCentralWidget(splitter_);
  stitchView_->setFocus();

  std::vector<int> panes;
  for (int pane = cmd::kPaneMode; pane <= cmd::kPaneSetting; ++pane) panes.push_back(pane);
  AddStatusPanes(panes);
  for (int pane = cmd::kPaneMode; pane <= cmd::kPaneSetting; ++pane) {
    Pane(pane)->setMinimumWidth(kPaneWidths[pane - cmd::kPaneMode]);
  }
  SetPaneTextSource([this](int pane) -> std::optional<std::string> { return panes_.Text(pane); });
}

void CMainFrame::BuildBars() {
  const std::vector<MenuEntry> mainButtons{{"New", cmd::kFileNew, {}},
                                           {"Open", cmd::kFileOpen, {}},
                                           {"Save As", cmd::kFileSaveAs, {}},
                                           {"", 0, {}},
                                           {"Copy", pcmd::kEditCopy, {}},
                                           {"Paste", pcmd::kEditPaste, {}},
                                           {"Outline", pcmd::kOutline, {}},
                                           {"", 0, {}},
                                           {"Pencil", pcmd::kPencil, {}},
                                           {"Eraser", pcmd::kEraser, {}},
                                           {"Zoom Drawing", cmd::kZoomDrawing, {}}};
  mainBar_ = AddToolButtons(mainButtons);
  mainBar_->setObjectName("mainToolBar");
  TagButtons(*mainBar_, mainButtons);
  AddDropDown(*mainBar_, 0, HoopPopup(), "newDropDown");
  AddDropDown(*mainBar_, 1, OpenPopup(), "openDropDown");
  AddDropDown(*mainBar_, 6, OutlinePopup(), "outlineDropDown");
  AddDropDown(*mainBar_, 10, DrawingZoomPopup(), "drawingZoomDropDown");

  const std::vector<MenuEntry> designButtons{{"Fill", pcmd::kFill, {}},
                                             {"Line", pcmd::kLine, {}},
                                             {"All Lines", pcmd::kAllLines, {}},
                                             {"Register", pcmd::kRegister, {}},
                                             {"", 0, {}},
                                             {"Edit Parts", cmd::kEditParts, {}},
                                             {"Make/Modify Stitch", cmd::kMakeStitch, {}},
                                             {"Zoom Stitch Image", cmd::kZoomStitchImage, {}},
                                             {"Send a Design", cmd::kSendDesign, {}},
                                             {"Write a Design", cmd::kCardWriteDesign, {}}};
  designBar_ = AddToolButtons(designButtons);
  designBar_->setObjectName("designToolBar");
  TagButtons(*designBar_, designButtons);
  AddDropDown(*designBar_, 7, StitchZoomPopup(), "stitchZoomDropDown");
  AddDropDown(*designBar_, 8, {{"Designs...", cmd::kSendDesignsDesigns, {}}}, "sendDropDown");
  AddDropDown(*designBar_, 9, {{"Designs...", cmd::kCardManagerDesigns, {}}}, "writeDropDown");
  for (QToolBar* bar : {mainBar_, designBar_}) {
    bar->setIconSize(QSize(kToolImageWidth, kToolImageHeight));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    SetIcons(*bar);
  }

  animationBar_ = addToolBar(QStringLiteral("Animation"));
  animationBar_->setObjectName("animationBar");
  animationBar_->addWidget(new NeedleAnimation(animationBar_));

  colorBar_ = new QToolBar(QStringLiteral("Color & Stitch"), this);
  colorBar_->setObjectName("colorStitchBar");
  colorBar_->setIconSize(QSize(kBarImageWidth, kBarImageHeight));
  colorBar_->setAllowedAreas(Qt::AllToolBarAreas);
  addToolBar(Qt::LeftToolBarArea, colorBar_);
  auto addBarButton = [this](int id, const char* name) {
    QAction* action = colorBar_->addAction(QString::fromLatin1(name));
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { Dispatch(id); });
    return qobject_cast<QToolButton*>(colorBar_->widgetForAction(action));
  };
  colorButton_ = addBarButton(pcmd::kColor, "Color");
  stitchButton_ = addBarButton(pcmd::kStitch, "Stitch");
  OnColorChanged(0);
  OnStitchChanged(digitizer::kHorizontalWeave, 0);
}

void CMainFrame::SetPictureView(QWidget* view, PictureZoomHooks zoom) {
  if (!view) return;
  const QList<int> sizes = splitter_->sizes();
  splitter_->replaceWidget(0, view);
  picture_->deleteLater();
  picture_ = view;
  splitter_->setSizes(sizes);
  pictureZoom_ = std::move(zoom);
}

void CMainFrame::ActivateFirstPane() { picture_->setFocus(); }

void CMainFrame::ShowToolbars(bool shown) {
  toolbarsShown_ = shown;
  for (QToolBar* bar : {mainBar_, designBar_, animationBar_}) bar->setVisible(shown);
}

platform::CommandState CMainFrame::QueryCommand(int id) const {
  const bool traced = !pictureState_ || pictureState_() == digitizer::kNoPictureToTrace;
  switch (id) {
    case cmd::kViewToolbar: return {true, true, toolbarsShown_};
    case cmd::kViewColorBar: return {true, true, colorBar_->isVisible()};
    case cmd::kZoomStitchImage: return {true, traced, stitchView_->Model().ZoomMode()};
    case cmd::kZoomDrawing:
      return {true, traced && pictureZoom_.setZoomMode != nullptr,
              pictureZoom_.zoomMode != nullptr && pictureZoom_.zoomMode()};
    case cmd::kManualColor: return {true, true, false};
    default: break;
  }
  if (id >= cmd::kStitchZoom50 && id <= cmd::kStitchZoom500) return {true, true, false};
  if (id >= cmd::kBitmapZoom1 && id <= cmd::kBitmapZoom5) return {true, pictureZoom_.setZoomFactor != nullptr, false};
  return {};
}

void CMainFrame::RunCommand(int id) {
  switch (id) {
    case cmd::kViewToolbar: ShowToolbars(!toolbarsShown_); return;
    case cmd::kViewColorBar: colorBar_->setVisible(!colorBar_->isVisible()); return;
    case cmd::kZoomStitchImage: stitchView_->SetZoomMode(!stitchView_->Model().ZoomMode()); return;
    case cmd::kZoomDrawing:
      if (pictureZoom_.setZoomMode) pictureZoom_.setZoomMode(!(pictureZoom_.zoomMode && pictureZoom_.zoomMode()));
      return;
    case cmd::kManualColor: return;  // the colour is chosen through the Color button
    default: break;
  }
  if (id >= cmd::kStitchZoom50 && id <= cmd::kStitchZoom500) {
    stitchView_->SetZoom(digitizer::StitchZoomIndexOf(id));
  } else if (id >= cmd::kBitmapZoom1 && id <= cmd::kBitmapZoom5 && pictureZoom_.setZoomFactor) {
    pictureZoom_.setZoomFactor(digitizer::BitmapZoomFactorOf(id));
  }
}

void CMainFrame::UpdateStatusPanes(int parts, int colour, int stitchType, int parameter, int mode, int stitches) {
  panes_.Update(parts, colour, stitchType, parameter, mode, stitches);
  for (int pane = cmd::kPaneMode; pane <= cmd::kPaneSetting; ++pane) {
    if (QLabel* label = Pane(pane)) label->setText(QString::fromStdString(panes_.Text(pane)));
  }
}

void CMainFrame::PostFrameMessage(int message, int wParam, int lParam) {
  QMetaObject::invokeMethod(
      this, [this, message, wParam, lParam] { OnFrameMessage(message, wParam, lParam); }, Qt::QueuedConnection);
}

void CMainFrame::OnFrameMessage(int message, int wParam, int lParam) {
  switch (message) {
    case digitizer::kUwmColorChanged: OnColorChanged(wParam); return;
    case digitizer::kUwmStitchChanged: OnStitchChanged(wParam, lParam); return;
    case digitizer::kUwmStitchError: {
      const digitizer::StitchErrorMessage error = digitizer::StitchErrorFor(wParam);
      if (!error.text) return;
      platform::MessageBox(this, error.text, error.caption,
                           platform::kMbOk | (error.stopIcon ? platform::kMbIconError : platform::kMbIconExclamation));
      return;
    }
    default: return;
  }
}

void CMainFrame::OnColorChanged(int colourIndex) {
  colorImage_ = ColorSwatchImage(ThreadColour(colourIndex));
  colorButton_->setIcon(QIcon(colorImage_));
  colorBar_->update();
}

void CMainFrame::OnStitchChanged(int stitchType, int parameter) {
  const digitizer::StitchPicture picture = digitizer::StitchTypePicture(stitchType, parameter);
  stitchImage_ = StitchTypeImage(picture.image, picture.text);
  stitchButton_->setIcon(QIcon(stitchImage_));
  colorBar_->update();
}

}  // namespace digitizer_ui
