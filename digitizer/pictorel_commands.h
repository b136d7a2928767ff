#pragma once

// Command numbers of Pictorel's menus, toolbars and status panes. The framework's own
// commands keep their framework numbers; the picture view's own commands (copy, paste,
// drawing tools, outline, register) are numbered where the picture view declares them.

namespace digitizer::cmd {

// Framework commands.
constexpr int kFileNew = 57600;
constexpr int kFileOpen = 57601;
constexpr int kFileSave = 57603;
constexpr int kFileSaveAs = 57604;
constexpr int kFilePrintSetup = 57606;
constexpr int kFilePrint = 57607;
constexpr int kFilePrintPreview = 57609;
constexpr int kFileMru1 = 57616;  // ..57623: the eight recent files
constexpr int kAppAbout = 57664;
constexpr int kAppExit = 57665;
constexpr int kViewToolbar = 59392;

// The document's commands.
constexpr int kBitmapOutline = 32780;
constexpr int kImportPicture = 32785;
constexpr int kOpenSewFile = 32801;
constexpr int kImportBitmap = 32833;
constexpr int kImportClipart = 32834;
constexpr int kSewFile = 32835;

// The frame's commands.
constexpr int kFill = 32771;
constexpr int kLine = 32772;
constexpr int kZoomDrawing = 32774;
constexpr int kEditParts = 32779;
constexpr int kMakeStitch = 32782;
constexpr int kViewColorBar = 32793;
constexpr int kReturnToEdit = 32800;
constexpr int kDeleteAllParts = 32802;
constexpr int kZoomStitchImage = 32809;
constexpr int kManualColor = 32810;
constexpr int kStandardHoop = 32811;
constexpr int kSmallHoop = 32812;
constexpr int kLargeHoop = 32813;
constexpr int kBitmapZoom1 = 32814;  // ..32818: 1 x .. 5 x
constexpr int kBitmapZoom5 = 32818;
constexpr int kStitchZoom50 = 32820;  // ..32827: 50 % .. 500 %
constexpr int kStitchZoom500 = 32827;
constexpr int kColor = 32828;
constexpr int kStitch = 32836;

// The stitch view's command.
constexpr int kBackgroundColor = 32803;

// The machine and card commands.
constexpr int kCardManagerDesigns = 32794;
constexpr int kSendDesignsDesigns = 32795;
constexpr int kSendDesign = 32838;
constexpr int kSendDesigns = 32839;
constexpr int kReceiveDesigns = 32840;
constexpr int kDeleteDesigns = 32841;
constexpr int kSerialSettings = 32842;
constexpr int kCardWriteDesign = 32846;
constexpr int kCardManager = 32847;
constexpr int kSelectVersion = 32848;

// Status panes 1..4 after the framework's indicator pane.
constexpr int kPaneMode = 1;
constexpr int kPaneStitches = 2;
constexpr int kPaneParts = 3;
constexpr int kPaneSetting = 4;

}  // namespace digitizer::cmd
