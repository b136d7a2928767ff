#pragma once

// The template commands of the layout: the three template modes (which set the printer's
// colour and view flags, kept in the profile under "Print"), the status pane that names the
// mode, and Print Template and Print Preview, enabled while the layout holds designs. The
// print job itself (dialog, printer, preview window) belongs to the host.

#include <optional>
#include <string>

#include "editor/brodera_doc.h"
#include "layoutcore/template_printer.h"
#include "platform/command_router.h"

namespace editor {

namespace cmd {
constexpr int kFilePrint = 57607;
constexpr int kFilePrintPreview = 57609;
constexpr int kOutlineTemplate = 32781;
constexpr int kColourTemplate = 32782;
constexpr int kColourView = 32783;
}  // namespace cmd

constexpr char kPrintSection[] = "Print";
constexpr char kPrintColourKey[] = "Color";
constexpr char kPrintViewKey[] = "View";

class TemplateCommands : public platform::CommandTarget {
 public:
  TemplateCommands(CTemplatePrinter& printer, const CBroderaDoc& doc) : printer_(printer), doc_(doc) {}

  void SetPrintHost(PrintHost* host) { host_ = host; }

  // The flags as the profile holds them (anything but 0 or 1 reads as 0), and back.
  void LoadFlags(const std::string& program);
  void SaveFlags(const std::string& program) const;

  platform::CommandState QueryCommand(int id) const override;
  void RunCommand(int id) override;
  // The template pane's text; nothing for any other pane.
  std::optional<std::string> PaneText(int id) const;

 private:
  CTemplatePrinter& printer_;
  const CBroderaDoc& doc_;
  PrintHost* host_ = nullptr;
};

}  // namespace editor
