#include "hooplayout/ui/vantle_print_job.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <filesystem>

#include "hooplayout/tests/design_builder.h"
#include "layoutcore/tests/fake_document_host.h"
#include "layoutcore/ui/tests/preview_print_driver.h"
#include "platform/file_io.h"
#include "testing/recording_message_box.h"
#include "testing/stitch_stream_builder.h"
#include "testing/temp_dir.h"

namespace {

int PdfPages(const std::string& bytes) {
  int pages = 0;
  for (std::size_t at = bytes.find("/Type /Page"); at != std::string::npos; at = bytes.find("/Type /Page", at + 1)) {
    if (bytes.compare(at, 12, "/Type /Pages") != 0) ++pages;
  }
  return pages;
}

}  // namespace

TEST(VantlePrintJob, BothHoopPositionsPrintAsTwoPdfPagesInEitherMode) {
  vtest::TempDir dir;
  edtest::FakeDocumentHost host;
  hooplayout::CVantleDoc doc{host};
  doc.AddDesign(hltest::Design("a", 300, 200, vtest::StitchStreamBuilder().Stitch(50, 0).Stitch(0, 50).End().Bytes()));
  for (int colour : {0, 1}) {
    const std::string path = (dir / ("t" + std::to_string(colour) + ".pdf")).string();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    editor::CTemplatePrinter templates;
    templates.SetFlags(colour, 0);
    hooplayout_ui::PrintVantleTemplates(printer, templates, doc, false);
    std::vector<uint8_t> bytes;
    ASSERT_FALSE(platform::ReadWholeFile(path, bytes, 1 << 24));
    const std::string pdf(bytes.begin(), bytes.end());
    EXPECT_EQ(pdf.rfind("%PDF", 0), 0u);
    EXPECT_EQ(PdfPages(pdf), 2);
    EXPECT_EQ(doc.GetPrintListA().size(), 1u);
  }
}

// A print job of Vantle's over one design, the user's answers scripted, printing into a
// file of the test's own.
class VantlePrintJobUi : public ::testing::Test {
 protected:
  VantlePrintJobUi() {
    doc.AddDesign(
        hltest::Design("a", 300, 200, vtest::StitchStreamBuilder().Stitch(50, 0).Stitch(0, 50).End().Bytes()));
  }

  // The file chosen in the print dialog.
  void ChooseFile(QPrintDialog& print) const {
    if (auto* file = print.findChild<QLineEdit*>("filename")) file->setText(QString::fromStdString(path));
  }

  void ExpectCutQuestion(std::size_t index) const {
    ASSERT_GT(box.Count(), index);
    EXPECT_EQ(box.Shown()[index].text,
              "The size of the template (140 x 200 mm) exceeds the printable area of the paper (105 x 148 mm).\n"
              "The template will be cut off.\n\nPrint anyway?");
    EXPECT_EQ(box.Shown()[index].caption, "Tessaly");
  }

  vtest::TempDir dir;
  vtest::RecordingMessageBox box;
  edtest::FakeDocumentHost host;
  hooplayout::CVantleDoc doc{host};
  editor::CTemplatePrinter templates;
  hooplayout_ui::VantlePrintJob job{nullptr, templates, doc};
  const std::string path = (dir / "print.pdf").string();
};

// A paper whose printable area is smaller than the 140 x 200 mm hoop field (A6) would cut
// the field off: nothing is printed unless the user says so.
TEST_F(VantlePrintJobUi, APaperSmallerThanTheHoopFieldIsPrintedOnlyWhenTheUserSaysSo) {
  bool dialogSeen = false;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    auto* print = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
    if (!print) return;
    dialogSeen = true;
    // The user's choices: a file of this test's own, and A6 upright.
    ChooseFile(*print);
    print->printer()->setPageLayout(
        QPageLayout(QPageSize(QPageSize::A6), QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter));
    print->accept();
  });
  ticker.start(20);
  box.Script({platform::kIdNo});
  job.PrintTemplate();
  ticker.stop();
  ASSERT_TRUE(dialogSeen);
  ASSERT_EQ(box.Count(), 1u);
  ExpectCutQuestion(0);
  EXPECT_FALSE(std::filesystem::exists(path));
}

// The preview window's own Print, after A6 upright is chosen in its page setup, asks as Print
// Template does before the hoop field is cut off; the pages the preview draws ask nothing.
TEST_F(VantlePrintJobUi, ThePreviewsOwnPrintAsksBeforeTheHoopFieldIsCutOff) {
  edtest::PreviewPrintDriver user(QPageSize::A6, [this](QPrintDialog& print) { ChooseFile(print); });
  box.Script({platform::kIdNo});
  job.PreviewTemplate();
  ASSERT_TRUE(user.TakePressed());
  ASSERT_EQ(box.Count(), 1u);
  ExpectCutQuestion(0);
  EXPECT_FALSE(std::filesystem::exists(path));

  box.Script({platform::kIdYes});
  job.PreviewTemplate();
  ASSERT_TRUE(user.TakePressed());
  EXPECT_EQ(box.Count(), 2u);
  std::vector<uint8_t> bytes;
  ASSERT_FALSE(platform::ReadWholeFile(path, bytes, 1 << 24));
  EXPECT_EQ(PdfPages(std::string(bytes.begin(), bytes.end())), 2);
}
