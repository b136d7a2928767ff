// Template printing's wiring: the mode commands and pane through the frame, the flags kept
// in the profile across runs, and the pages printed through Qt into a PDF file.

#include <gtest/gtest.h>

#include <QAction>
#include <QPrinter>

#include "design/ui/pat_list.h"
#include "editor/command_ids.h"
#include "editor/template_commands.h"
#include "editor/ui/brodera_application.h"
#include "layoutcore/ui/template_print_job.h"
#include "platform/file_io.h"
#include "platform/profile.h"
#include "testing/qnf_file_builder.h"
#include "testing/recording_message_box.h"
#include "testing/stitch_shapes.h"
#include "testing/temp_dir.h"

namespace {

namespace cmd = editor::cmd;

class TemplatePrintUi : public ::testing::Test {
 protected:
  TemplatePrintUi() { platform::SetProfileRoot(dir.Path() / "config"); }
  ~TemplatePrintUi() override { platform::SetProfileRoot({}); }

  std::unique_ptr<editor_ui::BroderaApplication> Make() {
    auto app = std::make_unique<editor_ui::BroderaApplication>((dir / "install").string() + "/",
                                                               (dir / "work").string() + "/");
    app->ScrollView().SetImportRunner([this](design_ui::CPatList& dialog) -> std::optional<std::string> {
      if (!dialog.Model().OnFileNameOK(importPath)) return std::nullopt;
      return importPath;
    });
    return app;
  }

  void Import(editor_ui::BroderaApplication& app, const std::string& name) {
    vtest::QnfFileSpec spec;
    spec.threadCodes = {5, 20};
    spec.stitches = vtest::RectangleStitches(400, 300, 2);
    ASSERT_FALSE(platform::WriteWholeFile(dir / name, vtest::BuildQnfFile(spec)));
    importPath = (dir / name).string();
    ASSERT_TRUE(app.Frame().Dispatch(cmd::kImportDesign));
  }

  // The pages of a PDF file, counted from its page objects.
  static int PdfPages(const std::string& bytes) {
    int pages = 0;
    for (std::size_t at = bytes.find("/Type /Page"); at != std::string::npos; at = bytes.find("/Type /Page", at + 1)) {
      if (bytes.compare(at, 12, "/Type /Pages") != 0) ++pages;
    }
    return pages;
  }

  vtest::TempDir dir;
  vtest::RecordingMessageBox box;
  std::string importPath;
};

TEST_F(TemplatePrintUi, ModesTickThroughTheFrameAndAreKeptForTheNextRun) {
  {
    auto app = Make();
    app->Start({});
    EXPECT_TRUE(app->Frame().Action(cmd::kOutlineTemplate)->isChecked());
    EXPECT_EQ(app->Frame().Pane(cmd::kPaneTemplate)->text(), "Outline Template");
    EXPECT_FALSE(app->Frame().Action(cmd::kFilePrint)->isEnabled());
    app->Frame().Action(cmd::kColourView)->trigger();
    EXPECT_TRUE(app->Frame().Action(cmd::kColourView)->isChecked());
    EXPECT_FALSE(app->Frame().Action(cmd::kOutlineTemplate)->isChecked());
    EXPECT_EQ(app->Frame().Pane(cmd::kPaneTemplate)->text(), "Color View");
    Import(*app, "rose.qnf");
    EXPECT_TRUE(app->Frame().Action(cmd::kFilePrint)->isEnabled());
    EXPECT_TRUE(app->Frame().Action(cmd::kFilePrintPreview)->isEnabled());
    app->Document().SetModifiedFlag(false);
  }
  EXPECT_EQ(platform::Profile("Brodera").GetInt("Print", "Color", -1), 1);
  EXPECT_EQ(platform::Profile("Brodera").GetInt("Print", "View", -1), 1);
  auto again = Make();
  again->Start({});
  EXPECT_EQ(again->Frame().Pane(cmd::kPaneTemplate)->text(), "Color View");
}

TEST_F(TemplatePrintUi, EverySheetPrintsAsOnePdfPage) {
  auto app = Make();
  app->Start({});
  Import(*app, "rose.qnf");
  Import(*app, "leaf.qnf");
  app->Document().SetSheetLayout(2, 2);
  for (int mode : {cmd::kOutlineTemplate, cmd::kColourTemplate}) {
    app->Frame().Dispatch(mode);
    const std::string path = (dir / ("t" + std::to_string(mode) + ".pdf")).string();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    printer.setPageOrientation(QPageLayout::Landscape);
    editor::CTemplatePrinter templates;
    templates.SetFlags(mode == cmd::kColourTemplate ? 1 : 0, 0);
    editor_ui::PrintTemplatePages(printer, templates, app->Document(), false);
    std::vector<uint8_t> bytes;
    ASSERT_FALSE(platform::ReadWholeFile(path, bytes, 1 << 24));
    const std::string pdf(bytes.begin(), bytes.end());
    EXPECT_EQ(pdf.rfind("%PDF", 0), 0u);
    EXPECT_EQ(PdfPages(pdf), 4);
  }
  app->Document().SetModifiedFlag(false);
}

}  // namespace
