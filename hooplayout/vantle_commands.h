#pragma once

// The commands of Vantle's layout view, its template modes and its printing: each command
// number of the menus and the toolbar bound to the view model's handler with its update
// rule. The dialogs that the view model does not open itself (Rotate/Flip, printing) and
// the way the position files leave the program are behind the host, so the rules run
// without a screen.

#include <optional>
#include <string>

#include "layoutcore/template_printer.h"
#include "hooplayout/position_send.h"
#include "hooplayout/vantle_view.h"
#include "platform/command_router.h"

namespace hooplayout {

inline constexpr char kOutlineTemplatePane[] = " Outline Template";
inline constexpr char kColourTemplatePane[] = " Color Template";
inline constexpr char kColourViewPane[] = " Color View";

struct RotateFlipAnswer {
  int choiceIndex = 0;
  int angleDegrees = 0;
};

class VantleCommandHost {
 public:
  virtual ~VantleCommandHost() = default;
  // The Rotate/Flip dialog; nothing when cancelled.
  virtual std::optional<RotateFlipAnswer> RunRotateFlipDialog() = 0;
  virtual void PrintTemplate() = 0;
  virtual void PreviewTemplate() = 0;
  // Where Send Designs and Write Designs hand the position files.
  virtual PositionTransfer& Transfer() = 0;
};

class CVantleViewCommands : public platform::CommandTarget {
 public:
  // The template printer takes the view's two print flags now and at every mode change.
  CVantleViewCommands(CVantleView& view, editor::CTemplatePrinter& printer, VantleCommandHost& host);

  platform::CommandState QueryCommand(int id) const override;
  void RunCommand(int id) override;
  // The zoom pane and the template pane; nothing for any other pane.
  std::optional<std::string> PaneText(int id) const;

 private:
  void SetTemplateMode(bool colour, bool view);

  CVantleView& view_;
  editor::CTemplatePrinter& printer_;
  VantleCommandHost& host_;
};

}  // namespace hooplayout
