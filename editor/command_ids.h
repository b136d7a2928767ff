#pragma once

// Command numbers of Brodera's menus, toolbar and status panes. The numbers are the ones
// the program has always used; the framework's own commands keep their framework numbers.

namespace editor::cmd {

// Framework commands.
constexpr int kFileNew = 57600;
constexpr int kFileOpen = 57601;
constexpr int kFileSave = 57603;
constexpr int kFileSaveAs = 57604;
constexpr int kFilePrintSetup = 57606;
constexpr int kFileMru1 = 57616;  // ..57619: the four recent files
constexpr int kAppExit = 57665;
constexpr int kAppAbout = 57664;
constexpr int kEditCopy = 57634;
constexpr int kEditPaste = 57637;
constexpr int kEditUndo = 57643;

// The layout view's editing commands.
constexpr int kFlipV = 32773;
constexpr int kFlipH = 32774;
constexpr int kZoomTool = 32778;
constexpr int kImportDesign = 32779;
constexpr int kMonogram = 32780;
constexpr int kRotateFlip = 32784;
constexpr int kRotate90 = 32785;
constexpr int kCombine = 32786;
constexpr int kDelete = 32787;
constexpr int kSheets = 32794;
constexpr int kBackgroundColour = 32795;
constexpr int kOverView = 32796;
constexpr int kZoomIn = 32797;
constexpr int kZoomOut = 32798;
constexpr int kActualSize = 32799;
constexpr int kCustomZoom = 32800;
constexpr int kAutoLayoutCentre = 32805;
constexpr int kAutoLayoutCorner = 32806;
constexpr int kStandardHoop = 32808;
constexpr int kLargeHoop = 32809;
constexpr int kGridLightGray = 32817;
constexpr int kGridGray = 32818;
constexpr int kCentreLineBlack = 32819;
constexpr int kCentreLineWhite = 32820;
constexpr int kZoom50 = 32901;
constexpr int kZoom75 = 32902;
constexpr int kZoom100 = 32903;
constexpr int kZoom200 = 32904;
constexpr int kZoom400 = 32905;
constexpr int kZoom600 = 32906;
constexpr int kZoom800 = 32907;
constexpr int kRotate180 = 32908;
constexpr int kRotate270 = 32909;

// The machine and card commands of the main frame.
constexpr int kDeleteMachineDesigns = 32811;
constexpr int kSendDesigns = 32812;
constexpr int kReceiveDesigns = 32813;
constexpr int kCommSettings = 32814;
constexpr int kWriteDesigns = 32821;
constexpr int kCardManager = 32822;
constexpr int kMachineVersion = 32900;

// Status-bar panes.
constexpr int kPaneSheets = 59141;
constexpr int kPaneMode = 59143;
constexpr int kPaneTemplate = 59144;
constexpr int kPaneHoop = 59145;
constexpr int kPaneZoom = 59146;

}  // namespace editor::cmd
