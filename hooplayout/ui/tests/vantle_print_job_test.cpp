#include "hooplayout/ui/vantle_print_job.h"

#include <gtest/gtest.h>

#include <QPrinter>

#include "hooplayout/tests/design_builder.h"
#include "layoutcore/tests/fake_document_host.h"
#include "platform/file_io.h"
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
