// Template printing's wiring: the mode commands and pane through the frame, the flags kept
// in the profile across runs, and the pages printed through Qt into a PDF file.

#include <gtest/gtest.h>

#include <QAction>
#include <QPrinter>
#include <cstdio>

#include "design/ui/pat_list.h"
#include "editor/command_ids.h"
#include "editor/template_commands.h"
#include "editor/ui/brodera_application.h"
#include "layoutcore/ui/template_print_job.h"
#include "platform/file_io.h"
#include "platform/profile.h"
#include "testing/qnf_file_builder.h"
#include "testing/recording_canvas.h"
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

// The paper chosen on the program's printer is the layout's sheet and the printed page: a
// design in the middle of each of four sheets is drawn in the middle of its own page.
TEST_F(TemplatePrintUi, SheetsAndPagesAreTheOnePaperOfTheProgramsPrinter) {
  auto app = Make();
  app->Start({});
  for (const char* name : {"a.qnf", "b.qnf", "c.qnf", "d.qnf"}) Import(*app, name);
  app->Document().SetSheetLayout(2, 2);
  QPrinter& printer = app->Printer().Printer();
  const std::string path = (dir / "a5.pdf").string();
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(path));
  printer.setPageSize(QPageSize(QPageSize::A5));
  printer.setPageOrientation(QPageLayout::Landscape);
  printer.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
  app->PrinterPageChanged();

  const auto [widthMm, heightMm] = editor_ui::PrintableMm(printer);
  ASSERT_EQ(widthMm, 200);
  ASSERT_EQ(heightMm, 138);
  const editor::PageSize sheet = app->App().Printable();
  ASSERT_EQ(sheet.width, 400);
  ASSERT_EQ(sheet.height, 276);
  int k = 0;
  for (editor::DesignObject& d : app->Document().GetDesignList()) {
    d.centreX = sheet.width * (k % 2) + sheet.width / 2;
    d.centreY = sheet.height * (k / 2) + sheet.height / 2;
    ++k;
  }
  editor::CTemplatePrinter templates;
  templates.BeginPrinting({widthMm, heightMm, 256, [](const std::string&) { return editor::TextExtent{100, 30}; }});
  const int w = 10 * widthMm, b = -10 * heightMm;
  for (int page = 1; page <= 4; ++page) {
    vtest::RecordingCanvas canvas;
    templates.PrintPage(canvas, {page, {}}, app->Document());
    // The mark pen's horizontal bar, 50 mm long, centred on each design.
    std::vector<platform::CanvasPoint> onPage;
    for (const vtest::CanvasPrimitive& p : canvas.Primitives()) {
      if (p.points.size() != 2 || p.penWidth != 3 || p.colour != platform::kPaletteBlack) continue;
      const auto& [a, z] = std::pair(p.points[0], p.points[1]);
      if (a.y != z.y || std::abs(z.x - a.x) != 500) continue;
      const platform::CanvasPoint mid{(a.x + z.x) / 2, a.y};
      if (mid.x >= 0 && mid.x <= w && mid.y <= 0 && mid.y >= b) onPage.push_back(mid);
    }
    ASSERT_EQ(onPage.size(), 1u) << page;
    EXPECT_EQ(onPage[0].x, w / 2) << page;
    EXPECT_EQ(onPage[0].y, b / 2) << page;
  }
  templates.EndPrinting();

  editor_ui::PrintTemplatePages(printer, templates, app->Document(), false);
  std::vector<uint8_t> bytes;
  ASSERT_FALSE(platform::ReadWholeFile(path, bytes, 1 << 24));
  const std::string pdf(bytes.begin(), bytes.end());
  EXPECT_EQ(PdfPages(pdf), 4);
  // A5 across: 210 x 148 mm is 595 x 420 points.
  const std::size_t box = pdf.find("/MediaBox [");
  ASSERT_NE(box, std::string::npos);
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  ASSERT_EQ(std::sscanf(pdf.c_str() + box + 11, "%lf %lf %lf %lf", &x0, &y0, &x1, &y1), 4);
  EXPECT_NEAR(x1 - x0, 595, 2);
  EXPECT_NEAR(y1 - y0, 420, 2);
  app->Document().SetModifiedFlag(false);
}

TEST_F(TemplatePrintUi, WithoutAPrinterTheFallBackPageIsMeasuredAndPrintSetupSaysSo) {
  auto app = Make();
  if (app->Printer().HasPrinter()) GTEST_SKIP() << "a printer is installed here";
  app->Start({});
  EXPECT_EQ(app->Printer().PageMm(), (std::pair<int, int>{249, 180}));
  EXPECT_EQ(app->App().Printable().width, 498);
  EXPECT_EQ(app->App().Printable().height, 360);
  box.Clear();
  app->Frame().Dispatch(cmd::kFilePrintSetup);
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "There is no default printer.\nInstall and select default printer.");
}

}  // namespace
