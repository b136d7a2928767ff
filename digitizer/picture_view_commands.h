#pragma once

// Command numbers the picture view answers (menu 128 and the popup menu 168). The numbers
// are the ones Pictorel has always used; the clipboard commands keep the framework's own
// numbers. The frame builds its menus and tool buttons from these; the view routes them.

namespace digitizer::pview_cmd {

// Clipboard (framework numbers).
constexpr int kEditCut = 57635;    // accelerators Ctrl+X, Shift+Delete
constexpr int kEditCopy = 57634;   // "&Copy\tCtrl+C"
constexpr int kEditPaste = 57637;  // "&Paste\tCtrl+V"

// Region selection and registration.
constexpr int kRegister = 32773;        // "Regis&ter\tCtrl+G"
constexpr int kAllLines = 32792;        // "&All Lines"
constexpr int kAllLinesSelect = 32843;  // popup 168 "Select"
constexpr int kAllLinesUndo = 32844;    // popup 168 "Undo (Black Lines)"
constexpr int kAllLinesCancel = 32845;  // popup 168 "Cancel"

// Outline drawing and Auto Register.
constexpr int kOutline = 32796;         // "&Outline\tCtrl+T"
constexpr int kAutoRegister = 32837;    // "A&uto Register...\tAlt+G"
constexpr int kPreviewOutline = 32781;  // popup 168 "Preview Outline..."
constexpr int kTracingOptions = 32799;  // "&Tracing Options..."

// Drawing tools.
constexpr int kPencil = 32776;       // "Pe&ncil"
constexpr int kEraser = 32775;       // "&Eraser"
constexpr int kEraserSmall = 32806;  // "&Small Eraser"
constexpr int kEraserMedium = 32807; // "&Medium Eraser"
constexpr int kEraserLarge = 32808;  // "&Large Eraser"

// The frame's commands whose work the view does (the frame forwards them to the view's
// Fill, Line, colour and stitch choices; routed to the view first, they need no frame code).
constexpr int kFill = 32771;    // "&Fill...\tCtrl+F"
constexpr int kLine = 32772;    // "&Line...\tCtrl+L"
constexpr int kColor = 32828;   // colour-and-stitch bar: Color
constexpr int kStitch = 32836;  // colour-and-stitch bar: Stitch

// The popup menu resource of the All Lines context menu and the Outline drop-down.
constexpr int kPopupMenu = 168;
constexpr int kAllLinesSubMenu = 7;

}  // namespace digitizer::pview_cmd
