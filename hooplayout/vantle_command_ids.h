#pragma once

// Command numbers of Vantle's menus, toolbar and status panes. The numbers are the ones the
// program has always used; the framework's own commands keep their framework numbers.

namespace hooplayout::cmd {

// Framework commands.
constexpr int kFileNew = 57600;
constexpr int kFileOpen = 57601;
constexpr int kFileSave = 57603;
constexpr int kFileSaveAs = 57604;
constexpr int kFilePrint = 57607;
constexpr int kFilePrintPreview = 57609;
constexpr int kFileMru1 = 57616;  // ..57619: the four recent files
constexpr int kAppAbout = 57664;
constexpr int kAppExit = 57665;

// The layout view's editing commands.
constexpr int kImportDesign = 32771;
constexpr int kMonogram = 32772;
constexpr int kRotateFlip = 32776;
constexpr int kRotate90 = 32777;
constexpr int kDelete = 32778;
constexpr int kBackground = 32779;
constexpr int kCopy = 32780;
constexpr int kPaste = 32781;
constexpr int kCornerLayout = 32783;
constexpr int kSendDesigns = 32785;
constexpr int kRotate180 = 32793;
constexpr int kUndo = 32796;
constexpr int kZoomTool = 32797;
constexpr int kActualSize = 32798;
constexpr int kZoomIn = 32799;
constexpr int kCustomZoom = 32800;
constexpr int kZoomOut = 32801;
constexpr int kFlipHorizontal = 32809;
constexpr int kFlipVertical = 32810;
constexpr int kWriteDesigns = 32846;
constexpr int kZoom50 = 32901;  // ..32907: 50, 75, 100, 200, 400, 600, 800 %
constexpr int kZoom800 = 32907;
constexpr int kRotate270 = 32908;

// The template modes.
constexpr int kOutlineTemplate = 32773;
constexpr int kColourTemplate = 32774;
constexpr int kColourView = 32775;

// The main frame's machine and card commands.
constexpr int kDeleteMachineDesigns = 32807;
constexpr int kReceiveDesigns = 32811;
constexpr int kCommSettings = 32812;
constexpr int kMachineVersion = 32825;
constexpr int kCardManager = 32847;

// Status-bar panes: the message pane, the zoom and the template mode.
constexpr int kPaneMessage = 59136;
constexpr int kPaneZoom = 59146;
constexpr int kPaneTemplate = 59144;

}  // namespace hooplayout::cmd
