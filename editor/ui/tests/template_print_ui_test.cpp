// Template printing's wiring: the mode commands and pane through the frame, the flags kept
// in the profile across runs, and the pages printed through Qt into a PDF file.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTimer>
#include <QTransform>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <string_view>

#include "design/ui/pat_list.h"
#include "editor/command_ids.h"
#include "editor/template_commands.h"
#include "editor/ui/brodera_application.h"
#include "layoutcore/ui/template_print_job.h"
#include "layoutcore/ui/tests/preview_print_driver.h"
#include "platform/file_io.h"
#include "platform/profile.h"
#include "testing/qnf_file_builder.h"
#include "testing/recording_message_box.h"
#include "testing/stitch_shapes.h"
#include "testing/temp_dir.h"

namespace {

namespace cmd = editor::cmd;

// The paper of a PDF file's pages, in millimetres.
std::pair<double, double> PdfPaperMm(const std::string& path) {
  std::vector<uint8_t> bytes;
  EXPECT_FALSE(platform::ReadWholeFile(path, bytes, 1 << 24)) << path;
  const std::string pdf(bytes.begin(), bytes.end());
  double width = 0, height = 0;
  const std::size_t box = pdf.find("/MediaBox [");
  if (box != std::string::npos) std::sscanf(pdf.c_str() + box + 11, "%*f %*f %lf %lf", &width, &height);
  constexpr double kMmPerPoint = 25.4 / 72;
  return {width * kMmPerPoint, height * kMmPerPoint};
}

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

  // One page of the print preview as the preview window shows it, fitted into the view; a
  // paper given is chosen in the preview first.
  static QImage PreviewPage(editor_ui::BroderaApplication& app, int page, std::optional<QPageLayout> paper = {}) {
    QImage shown;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
      auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
      if (!preview) return;
      auto* pages = preview->findChild<QPrintPreviewWidget*>();
      if (paper) {
        preview->printer()->setPageLayout(*paper);
        pages->updatePreview();
      }
      pages->setCurrentPage(page);
      pages->fitInView();
      shown = pages->grab().toImage();
      preview->reject();
    });
    ticker.start(20);
    app.Frame().Dispatch(cmd::kFilePrintPreview);
    return shown;
  }

  // Runs a command that ends on A4 upright, twice: "No" to the question before the 249 mm
  // sheet is cut off prints nothing, "Yes" prints on A4. walked(): the user's steps were taken.
  void PrintOnA4Upright(editor_ui::BroderaApplication& app, int command, const std::function<bool()>& walked) {
    const std::string path = (dir / "print.pdf").string();
    app.Printer().Printer().setOutputFileName(QString::fromStdString(path));
    box.Script({platform::kIdNo});
    app.Frame().Dispatch(command);
    ASSERT_TRUE(walked());
    ASSERT_EQ(box.Count(), 1u);
    EXPECT_EQ(box.Shown()[0].text,
              "The size of the template (249 x 180 mm) exceeds the printable area of the paper (210 x 297 mm).\n"
              "The template will be cut off.\n\nPrint anyway?");
    EXPECT_EQ(box.Shown()[0].caption, "Brodera");
    EXPECT_FALSE(std::filesystem::exists(path));

    box.Script({platform::kIdYes});
    app.Frame().Dispatch(command);
    ASSERT_TRUE(walked());
    EXPECT_EQ(box.Count(), 2u);
    EXPECT_NEAR(PdfPaperMm(path).first, 210, 0.2);
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
    editor_ui::PrintTemplatePages(printer, templates, app->Document(), false, {249, 180});
    std::vector<uint8_t> bytes;
    ASSERT_FALSE(platform::ReadWholeFile(path, bytes, 1 << 24));
    const std::string pdf(bytes.begin(), bytes.end());
    EXPECT_EQ(pdf.rfind("%PDF", 0), 0u);
    EXPECT_EQ(PdfPages(pdf), 4);
  }
  app->Document().SetModifiedFlag(false);
}

// Where a PDF page's coloured strokes (the designs of a Color View template; the crop marks
// are black) have their middle on the paper, in millimetres from the paper's middle, x right
// and y down. Strokes off the paper do not count: the paper cuts them.
struct PdfPage {
  bool hasDesign = false;
  double designX = 0;
  double designY = 0;
};

std::vector<PdfPage> DesignsOnPdfPages(const std::string& pdf) {
  std::vector<PdfPage> pages;
  double pageWidth = 0, pageHeight = 0;
  const std::size_t box = pdf.find("/MediaBox [");
  if (box == std::string::npos || std::sscanf(pdf.c_str() + box + 11, "%*f %*f %lf %lf", &pageWidth, &pageHeight) != 2) {
    return pages;
  }
  constexpr std::string_view kStreamStart = ">>\nstream\n";
  for (std::size_t at = pdf.find(kStreamStart); at != std::string::npos; at = pdf.find(kStreamStart, at + 1)) {
    const std::size_t begin = at + kStreamStart.size(), end = pdf.find("endstream", begin);
    if (end == std::string::npos) break;
    // Flate data behind the four-byte length that qUncompress expects.
    QByteArray data("\x00\x10\x00\x00", 4);
    data += QByteArray(pdf.data() + begin, static_cast<qsizetype>(end - begin));
    const QByteArray content = qUncompress(data);
    if (!content.startsWith("/GSa gs")) continue;  // not a page's drawing
    std::istringstream in(content.toStdString());
    std::vector<double> operands;
    QTransform ctm;
    std::vector<QTransform> saved;
    bool coloured = false;
    QRectF drawn;
    for (std::string word; in >> word;) {
      const std::size_t n = operands.size();
      if (word == "q") {
        saved.push_back(ctm);
      } else if (word == "Q" && !saved.empty()) {
        ctm = saved.back();
        saved.pop_back();
      } else if (word == "cm" && n >= 6) {
        ctm = QTransform(operands[n - 6], operands[n - 5], operands[n - 4], operands[n - 3], operands[n - 2],
                         operands[n - 1]) * ctm;
      } else if (word == "SCN" && n >= 3) {
        coloured = operands[n - 3] != 0 || operands[n - 2] != 0 || operands[n - 1] != 0;
      } else if ((word == "m" || word == "l") && coloured && n >= 2) {
        const QPointF p = ctm.map(QPointF(operands[n - 2], operands[n - 1]));
        if (p.x() >= 0 && p.x() <= pageWidth && p.y() >= 0 && p.y() <= pageHeight) {
          drawn = drawn.isNull() ? QRectF(p, QSizeF(1e-9, 1e-9)) : drawn.united(QRectF(p, QSizeF(1e-9, 1e-9)));
        }
      }
      char* rest = nullptr;
      const double value = std::strtod(word.c_str(), &rest);
      if (*rest == '\0') operands.push_back(value);
      else operands.clear();
    }
    constexpr double kMmPerPoint = 25.4 / 72;
    PdfPage page;
    page.hasDesign = !drawn.isNull();
    page.designX = (drawn.center().x() - pageWidth / 2) * kMmPerPoint;
    page.designY = (pageHeight / 2 - drawn.center().y()) * kMmPerPoint;  // PDF y grows upward
    pages.push_back(page);
  }
  return pages;
}

// What prints is what the preview showed. Without a printer the sheets are 249 x 180 mm;
// the print dialog's own PDF printer offers no such paper and prints on another: the sheets
// stay as they were, and each is printed whole, centred on its page, as the preview shows it.
TEST_F(TemplatePrintUi, ADesignOnSheetTwoPrintsOnPageTwoWhereThePreviewShowsIt) {
  auto app = Make();
  if (app->Printer().HasPrinter()) GTEST_SKIP() << "a printer is installed here";
  app->Start({});
  Import(*app, "rose.qnf");
  app->Frame().Dispatch(cmd::kColourView);
  app->Document().SetSheetLayout(2, 1);
  const editor::PageSize sheet = app->App().Printable();
  ASSERT_EQ(sheet.width, 498);
  ASSERT_EQ(sheet.height, 360);
  // 60 mm into sheet 2 and 50 mm down: 64.5 mm left of its middle and 40 mm above it.
  editor::DesignObject& rose = app->Document().GetDesignList().front();
  rose.centreX = sheet.width + 120;
  rose.centreY = 100;

  const std::string previewPath = (dir / "preview.pdf").string(), printPath = (dir / "print.pdf").string();
  std::vector<std::pair<double, double>> previewPapersMm;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* preview = qobject_cast<QPrintPreviewDialog*>(modal)) {
      // The preview's pages, drawn on a PDF printer of the preview's own paper.
      const QPageLayout shown = preview->printer()->pageLayout();
      previewPapersMm.emplace_back(shown.paintRect(QPageLayout::Millimeter).width(),
                                   shown.paintRect(QPageLayout::Millimeter).height());
      QPrinter pdf(QPrinter::HighResolution);
      pdf.setOutputFormat(QPrinter::PdfFormat);
      pdf.setOutputFileName(QString::fromStdString(previewPath));
      pdf.setPageLayout(shown);
      emit preview->paintRequested(&pdf);
      preview->reject();
    } else if (auto* print = qobject_cast<QPrintDialog*>(modal)) {
      print->accept();
    }
  });
  ticker.start(20);
  app->Frame().Dispatch(cmd::kFilePrintPreview);
  app->Printer().Printer().setOutputFileName(QString::fromStdString(printPath));
  app->Frame().Dispatch(cmd::kFilePrint);
  app->Frame().Dispatch(cmd::kFilePrintPreview);
  ticker.stop();

  auto designs = [](const std::string& path) {
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(platform::ReadWholeFile(path, bytes, 1 << 24)) << path;
    return DesignsOnPdfPages(std::string(bytes.begin(), bytes.end()));
  };
  const std::vector<PdfPage> shown = designs(previewPath), printed = designs(printPath);
  ASSERT_EQ(shown.size(), 2u);
  ASSERT_EQ(printed.size(), 2u);
  EXPECT_FALSE(shown[0].hasDesign);
  EXPECT_FALSE(printed[0].hasDesign);
  ASSERT_TRUE(shown[1].hasDesign);
  ASSERT_TRUE(printed[1].hasDesign);
  EXPECT_NEAR(shown[1].designX, -64.5, 0.5);
  EXPECT_NEAR(shown[1].designY, -40, 0.5);
  EXPECT_NEAR(printed[1].designX, shown[1].designX, 0.2);
  EXPECT_NEAR(printed[1].designY, shown[1].designY, 0.2);

  // The print changed neither the sheets nor the paper the next preview opens on, whose
  // printable area is the sheet.
  EXPECT_EQ(app->App().Printable().width, 498);
  EXPECT_EQ(app->App().Printable().height, 360);
  ASSERT_EQ(previewPapersMm.size(), 2u);
  for (const auto& [width, height] : previewPapersMm) {
    EXPECT_NEAR(width, 249, 0.1);
    EXPECT_NEAR(height, 180, 0.1);
  }
  app->Document().SetModifiedFlag(false);
}

// Print opens on the paper the sheets were measured on, the one the preview shows, and
// prints on it when nothing is changed in the dialog.
TEST_F(TemplatePrintUi, PrintOpensOnThePaperThePreviewShows) {
  auto app = Make();
  if (app->Printer().HasPrinter()) GTEST_SKIP() << "a printer is installed here";
  app->Start({});
  Import(*app, "rose.qnf");
  QPageLayout previewed;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* preview = qobject_cast<QPrintPreviewDialog*>(modal)) {
      previewed = preview->printer()->pageLayout();
      preview->reject();
    } else if (auto* print = qobject_cast<QPrintDialog*>(modal)) {
      print->accept();
    }
  });
  ticker.start(20);
  app->Frame().Dispatch(cmd::kFilePrintPreview);
  const std::string path = (dir / "print.pdf").string();
  app->Printer().Printer().setOutputFileName(QString::fromStdString(path));
  app->Frame().Dispatch(cmd::kFilePrint);
  ticker.stop();
  const QRectF paper = previewed.fullRect(QPageLayout::Millimeter);
  ASSERT_FALSE(paper.isEmpty());
  const auto [width, height] = PdfPaperMm(path);
  EXPECT_NEAR(width, paper.width(), 0.2);
  EXPECT_NEAR(height, paper.height(), 0.2);
  EXPECT_EQ(box.Count(), 0u);
  app->Document().SetModifiedFlag(false);
}

// A paper whose printable area is smaller than the sheet (A4 upright for a landscape sheet)
// would cut the template off at both sides: it is printed only when the user says so.
TEST_F(TemplatePrintUi, ASheetLargerThanThePaperIsPrintedOnlyWhenTheUserSaysSo) {
  auto app = Make();
  if (app->Printer().HasPrinter()) GTEST_SKIP() << "a printer is installed here";
  app->Start({});
  Import(*app, "rose.qnf");
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    if (auto* print = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
      // The paper the user chooses in the dialog.
      print->printer()->setPageLayout(
          QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter));
      print->accept();
    }
  });
  ticker.start(20);
  PrintOnA4Upright(*app, cmd::kFilePrint, [] { return true; });
  app->Document().SetModifiedFlag(false);
}

// The preview window's own Print, after A4 upright is chosen in its page setup, asks as
// Print Template does before the 249 mm sheet is cut off; the pages the preview draws on that
// paper ask nothing.
TEST_F(TemplatePrintUi, ThePreviewsOwnPrintAsksBeforeTheSheetIsCutOff) {
  auto app = Make();
  if (app->Printer().HasPrinter()) GTEST_SKIP() << "a printer is installed here";
  app->Start({});
  Import(*app, "rose.qnf");
  edtest::PreviewPrintDriver user(QPageSize::A4);
  PrintOnA4Upright(*app, cmd::kFilePrintPreview, [&user] { return user.TakePressed(); });
  app->Document().SetModifiedFlag(false);
}

// A design past the sheet's left edge: the preview shows nothing of it beyond the paper.
TEST_F(TemplatePrintUi, ThePreviewDrawsNothingOffThePaper) {
  auto app = Make();
  app->Start({});
  Import(*app, "rose.qnf");
  app->Document().SetSheetLayout(2, 1);
  editor::DesignObject& rose = app->Document().GetDesignList().front();
  rose.centreX = app->App().Printable().width;  // across the edge between the sheets
  const QImage page2 = PreviewPage(*app, 2);
  ASSERT_FALSE(page2.isNull());
  // The paper is the white area; left of it, inside the view's frame, only the background.
  const int row = page2.height() / 2;
  int paperLeft = 0;
  while (paperLeft < page2.width() && page2.pixel(paperLeft, row) != qRgb(255, 255, 255)) ++paperLeft;
  ASSERT_LT(paperLeft, page2.width() / 2);
  const QRgb background = page2.pixel(1, row);
  int marked = 0;
  for (int y = 1; y < page2.height() - 1; ++y) {
    for (int x = 1; x < paperLeft - 1; ++x) marked += page2.pixel(x, y) != background;
  }
  EXPECT_EQ(marked, 0);
  app->Document().SetModifiedFlag(false);
}

// A paper larger than the sheet (A3 landscape for a 249 x 180 mm sheet) has room beside the
// sheet: page 1 shows none of a design that lies just past the sheet's right edge, on sheet 2.
TEST_F(TemplatePrintUi, APaperLargerThanTheSheetShowsNothingOfTheNextSheet) {
  auto app = Make();
  app->Start({});
  Import(*app, "rose.qnf");  // 40 x 30 mm
  app->Frame().Dispatch(cmd::kColourView);
  app->Document().SetSheetLayout(2, 1);
  const editor::PageSize sheet = app->App().Printable();
  editor::DesignObject& rose = app->Document().GetDesignList().front();
  rose.centreX = sheet.width + 50;  // its left edge 5 mm into sheet 2
  rose.centreY = sheet.height / 2;
  constexpr double kPaperWidthMm = 420;
  const QImage page1 = PreviewPage(
      *app, 1, QPageLayout(QPageSize(QPageSize::A3), QPageLayout::Landscape, QMarginsF(), QPageLayout::Millimeter));
  ASSERT_FALSE(page1.isNull());
  // The paper is the white area across the middle row; the sheet stands in its middle.
  const int row = page1.height() / 2;
  const QRgb white = qRgb(255, 255, 255);
  int paperLeft = 0, paperRight = page1.width() - 1;
  while (paperLeft < page1.width() && page1.pixel(paperLeft, row) != white) ++paperLeft;
  while (paperRight > paperLeft && page1.pixel(paperRight, row) != white) --paperRight;
  ASSERT_GT(paperRight - paperLeft, page1.width() / 4);
  const double pixelsPerMm = (paperRight - paperLeft + 1) / kPaperWidthMm;
  const int sheetRight = paperLeft + static_cast<int>((kPaperWidthMm + sheet.width / 2.0) / 2 * pixelsPerMm);
  int paperTop = row, paperBottom = row;
  while (paperTop > 0 && page1.pixel(paperRight, paperTop - 1) == white) --paperTop;
  while (paperBottom + 1 < page1.height() && page1.pixel(paperRight, paperBottom + 1) == white) ++paperBottom;
  int marked = 0;
  for (int y = paperTop + 1; y < paperBottom; ++y) {
    for (int x = sheetRight + 2; x < paperRight; ++x) marked += page1.pixel(x, y) != white;
  }
  EXPECT_EQ(marked, 0);
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
