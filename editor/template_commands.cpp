#include "editor/template_commands.h"

#include "editor/command_ids.h"
#include "platform/profile.h"

namespace editor {

void TemplateCommands::LoadFlags(const std::string& program) {
  const platform::Profile profile(program);
  printer_.SetFlags(profile.GetInt(kPrintSection, kPrintColourKey, 0), profile.GetInt(kPrintSection, kPrintViewKey, 0));
}

void TemplateCommands::SaveFlags(const std::string& program) const {
  platform::Profile profile(program);
  profile.WriteInt(kPrintSection, kPrintColourKey, printer_.ColourFlag());
  profile.WriteInt(kPrintSection, kPrintViewKey, printer_.ViewFlag());
}

platform::CommandState TemplateCommands::QueryCommand(int id) const {
  const int colour = printer_.ColourFlag(), view = printer_.ViewFlag();
  switch (id) {
    case cmd::kFilePrint:
    case cmd::kFilePrintPreview:
      return {true, host_ != nullptr && !doc_.GetDesignList().empty(), false};
    case cmd::kOutlineTemplate:
      return {true, true, colour == 0 && view == 0};
    case cmd::kColourTemplate:
      return {true, true, colour == 1 && view == 0};
    case cmd::kColourView:
      return {true, true, view == 1};
    default:
      return {};
  }
}

void TemplateCommands::RunCommand(int id) {
  switch (id) {
    case cmd::kFilePrint:
      if (host_) host_->PrintTemplate();
      break;
    case cmd::kFilePrintPreview:
      if (host_) host_->PreviewTemplate();
      break;
    case cmd::kOutlineTemplate:
      printer_.SetFlags(0, 0);
      break;
    case cmd::kColourTemplate:
      printer_.SetFlags(1, 0);
      break;
    case cmd::kColourView:
      printer_.SetFlags(1, 1);
      break;
    default:
      break;
  }
}

std::optional<std::string> TemplateCommands::PaneText(int id) const {
  if (id != cmd::kPaneTemplate) return std::nullopt;
  if (printer_.ViewFlag() == 1) return "Color View";
  return printer_.ColourFlag() == 1 ? "Color Template" : "Outline Template";
}

}  // namespace editor
