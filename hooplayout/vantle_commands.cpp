#include "hooplayout/vantle_commands.h"

#include "layoutcore/layout_geometry.h"
#include "hooplayout/vantle_command_ids.h"

namespace hooplayout {

namespace {

constexpr float kSmallestZoom = 50.0f;
constexpr float kLargestZoom = 800.0f;
constexpr float kActualZoom = 100.0f;

platform::CommandState Enabled(bool enabled) { return {true, enabled, false}; }
platform::CommandState Ticked(bool ticked) { return {true, true, ticked}; }

}  // namespace

CVantleViewCommands::CVantleViewCommands(CVantleView& view, editor::CTemplatePrinter& printer,
                                         VantleCommandHost& host)
    : view_(view), printer_(printer), host_(host) {
  printer_.SetFlags(view_.PrintInColour() ? 1 : 0, view_.PrintView() ? 1 : 0);
}

platform::CommandState CVantleViewCommands::QueryCommand(int id) const {
  const CommandStates states = view_.Commands();
  const float zoom = view_.Zoom();
  if (id >= cmd::kZoom50 && id <= cmd::kZoom800) {
    return Ticked(zoom == editor::kZoomSteps[static_cast<std::size_t>(id - cmd::kZoom50)]);
  }
  switch (id) {
    case cmd::kFileNew:
    case cmd::kFileOpen:
    case cmd::kBackground:
    case cmd::kCustomZoom:
      return Enabled(true);
    case cmd::kFileSave:
    case cmd::kFileSaveAs:
    case cmd::kSendDesigns:
    case cmd::kWriteDesigns:
    case cmd::kFilePrint:
    case cmd::kFilePrintPreview:
      return Enabled(states.save);
    case cmd::kImportDesign:
    case cmd::kMonogram:
      return Enabled(states.importDesign);
    case cmd::kRotateFlip:
    case cmd::kRotate90:
    case cmd::kRotate180:
    case cmd::kRotate270:
    case cmd::kFlipHorizontal:
    case cmd::kFlipVertical:
    case cmd::kCornerLayout:
    case cmd::kDelete:
    case cmd::kCopy:
      return Enabled(states.selection);
    case cmd::kUndo:
      return Enabled(states.undo);
    case cmd::kPaste:
      return Enabled(states.paste);
    case cmd::kZoomTool:
      return Ticked(view_.ZoomTool());
    case cmd::kZoomIn:
      return Enabled(zoom < kLargestZoom);
    case cmd::kZoomOut:
      return Enabled(zoom > kSmallestZoom);
    case cmd::kActualSize:
      return Enabled(zoom != kActualZoom);
    case cmd::kOutlineTemplate:
      return Ticked(!view_.PrintInColour());
    case cmd::kColourTemplate:
      return Ticked(view_.PrintInColour() && !view_.PrintView());
    case cmd::kColourView:
      return Ticked(view_.PrintInColour() && view_.PrintView());
    default:
      return {};
  }
}

void CVantleViewCommands::RunCommand(int id) {
  if (id >= cmd::kZoom50 && id <= cmd::kZoom800) {
    view_.SetZoom(editor::kZoomSteps[static_cast<std::size_t>(id - cmd::kZoom50)]);
    return;
  }
  switch (id) {
    case cmd::kFileNew: view_.FileNew(); break;
    case cmd::kFileOpen: view_.FileOpen(); break;
    case cmd::kFileSave: view_.FileSave(); break;
    case cmd::kFileSaveAs: view_.FileSaveAs(); break;
    case cmd::kImportDesign: view_.ImportDesign(); break;
    case cmd::kMonogram: view_.Monogram(); break;
    case cmd::kRotateFlip:
      if (const auto answer = host_.RunRotateFlipDialog()) {
        view_.ApplyRotateFlipChoice(answer->choiceIndex, answer->angleDegrees);
      }
      break;
    case cmd::kRotate90: view_.RotateBy(90); break;
    case cmd::kRotate180: view_.RotateBy(180); break;
    case cmd::kRotate270: view_.RotateBy(270); break;
    case cmd::kFlipHorizontal: view_.FlipHorizontal(); break;
    case cmd::kFlipVertical: view_.FlipVertical(); break;
    case cmd::kCornerLayout: view_.CornerLayout(); break;
    case cmd::kUndo: view_.Undo(); break;
    case cmd::kDelete: view_.Delete(); break;
    case cmd::kCopy: view_.Copy(); break;
    case cmd::kPaste: view_.Paste(); break;
    case cmd::kBackground: view_.ChooseBackground(); break;
    case cmd::kZoomTool: view_.ToggleZoomTool(); break;
    case cmd::kZoomIn: view_.ZoomIn(); break;
    case cmd::kZoomOut: view_.ZoomOut(); break;
    case cmd::kActualSize: view_.SetZoom(kActualZoom); break;
    case cmd::kCustomZoom: view_.CustomZoom(); break;
    case cmd::kSendDesigns: view_.SendDesigns(host_.Transfer()); break;
    case cmd::kWriteDesigns: view_.WriteDesigns(host_.Transfer()); break;
    case cmd::kFilePrint: host_.PrintTemplate(); break;
    case cmd::kFilePrintPreview: host_.PreviewTemplate(); break;
    case cmd::kOutlineTemplate: SetTemplateMode(false, false); break;
    case cmd::kColourTemplate: SetTemplateMode(true, false); break;
    case cmd::kColourView: SetTemplateMode(true, true); break;
    default: break;
  }
}

void CVantleViewCommands::SetTemplateMode(bool colour, bool view) {
  view_.SetPrintFlags(colour, view);
  printer_.SetFlags(colour ? 1 : 0, view ? 1 : 0);
}

std::optional<std::string> CVantleViewCommands::PaneText(int id) const {
  if (id == cmd::kPaneZoom) return view_.ZoomPaneText();
  if (id != cmd::kPaneTemplate) return std::nullopt;
  if (!view_.PrintInColour()) return kOutlineTemplatePane;
  return view_.PrintView() ? kColourViewPane : kColourTemplatePane;
}

}  // namespace hooplayout
