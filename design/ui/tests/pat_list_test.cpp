#include "design/ui/pat_list.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>

#include "platform/file_io.h"
#include "testing/qnf_file_builder.h"
#include "testing/sew_file_builder.h"
#include "testing/stitch_shapes.h"
#include "testing/recording_message_box.h"
#include "testing/stitch_stream_builder.h"
#include "testing/temp_dir.h"

namespace {

class ImportDialog : public ::testing::Test {
 protected:
  QString Design(const std::string& name, int stitches, int colours) {
    vtest::QnfFileSpec spec;
    spec.threadCodes.assign(static_cast<std::size_t>(colours), 12);
    vtest::StitchStreamBuilder b;
    for (int i = 0; i < stitches; ++i) b.Stitch(i % 2 ? -10 : 10, i % 2 ? -10 : 10);  // to and fro
    spec.stitches = b.End().Bytes();
    return Write(name, vtest::BuildQnfFile(spec));
  }
  QString Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    EXPECT_FALSE(platform::WriteWholeFile(dir_ / name, bytes));
    return QString::fromStdString((dir_ / name).string());
  }

  vtest::TempDir dir_;
  vtest::RecordingMessageBox box_;
  design::StitchRecord record_;
};

TEST_F(ImportDialog, ChoosingAFileShowsItsCountsAndMinutes) {
  const QString path = Design("rose.qnf", 3000, 4);
  design_ui::CPatList dialog(nullptr, "Designs (*.qnf *.sew)", QString::fromStdString(dir_.Path().string()),
                             record_, 0);
  EXPECT_EQ(dialog.windowTitle(), "Import Design");
  emit dialog.currentChanged(path);
  EXPECT_EQ(dialog.StitchCountText(), "3001 stitches");
  EXPECT_EQ(dialog.ColourCountText(), "4 colors (parts)");
  EXPECT_EQ(dialog.SewingTimeText(), "6 minutes (600spm)");
  // The picture was drawn: not all white any more.
  const QImage picture = dialog.Preview().Picture().toImage();
  bool inked = false;
  for (int y = 0; y < picture.height() && !inked; ++y) {
    for (int x = 0; x < picture.width() && !inked; ++x) inked = picture.pixelColor(x, y) != Qt::white;
  }
  EXPECT_TRUE(inked);

  emit dialog.directoryEntered(QString::fromStdString(dir_.Path().string()));
  EXPECT_EQ(dialog.StitchCountText(), "");
  EXPECT_EQ(dialog.Preview().Picture().toImage().pixelColor(5, 5), QColor(220, 220, 220));
}

TEST_F(ImportDialog, TypingANameOrAPathPreviewsTheFileItNames) {
  const QString path = Design("rose.qnf", 3000, 4);
  vtest::TempDir elsewhere;
  design_ui::CPatList dialog(nullptr, "Designs (*.qnf *.sew)", QString::fromStdString(elsewhere.Path().string()),
                             record_, 0);
  auto* nameBox = dialog.findChild<QLineEdit*>("fileNameEdit");
  ASSERT_NE(nameBox, nullptr);
  // Half typed: no such file yet, nothing shown and no message.
  nameBox->setText(path.left(path.size() - 2));
  EXPECT_EQ(dialog.StitchCountText(), "");
  nameBox->setText(path);
  EXPECT_EQ(dialog.StitchCountText(), "3001 stitches");
  EXPECT_EQ(dialog.ColourCountText(), "4 colors (parts)");

  // A bare name is looked for in the dialog's folder.
  Design("tulip.qnf", 10, 2);
  dialog.setDirectory(QString::fromStdString(dir_.Path().string()));
  nameBox->setText("tulip.qnf");
  EXPECT_EQ(dialog.StitchCountText(), "11 stitches");
  EXPECT_EQ(box_.Count(), 0u);
}

TEST_F(ImportDialog, ConfirmingReturnsTheRecordAndTheFolder) {
  const QString path = Design("rose.qnf", 20, 2);
  design_ui::CPatList dialog(nullptr, "Designs (*.qnf *.sew)", QString::fromStdString(dir_.Path().string()),
                             record_, 0);
  dialog.open();
  dialog.selectFile(path);
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(record_.PairCount(), 21);
  EXPECT_EQ(record_.ColourCount(), 2);
  EXPECT_EQ(dialog.ChosenFolder().toStdString(), dir_.Path().string());
  EXPECT_EQ(dialog.ChosenPath(), path);
  EXPECT_EQ(box_.Count(), 0u);
}

TEST_F(ImportDialog, ANameTypedWithoutExtensionIsReadAndReturnedAsAQnfFile) {
  const QString path = Design("rose.qnf", 20, 2);
  design_ui::CPatList dialog(nullptr, "Designs (*.qnf *.sew)", QString::fromStdString(dir_.Path().string()),
                             record_, 0);
  dialog.open();
  dialog.selectFile("rose");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(record_.PairCount(), 21);
  // The caller judges the import by this name's extension.
  EXPECT_EQ(dialog.ChosenPath(), path);
}

TEST_F(ImportDialog, ARefusedFileShowsTheMessageAndStaysOpen) {
  auto bytes = vtest::BuildQnfFile({});
  bytes.resize(150);
  const QString path = Write("torn.qnf", bytes);
  design_ui::CPatList dialog(nullptr, "Designs (*.qnf *.sew)", QString::fromStdString(dir_.Path().string()),
                             record_, 0);
  dialog.open();
  dialog.selectFile(path);
  dialog.accept();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  // Choosing the file previewed it (two dots), confirming refused it again (one).
  const auto shown = box_.Shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "This file may be defective..");
  EXPECT_EQ(shown[1].text, "This file may be defective.");
  EXPECT_EQ(shown[1].caption, "Import Design");
  EXPECT_EQ(shown[1].owner, static_cast<platform::WindowHandle>(static_cast<QWidget*>(&dialog)));
  EXPECT_EQ(record_.ColourCount(), 0);
  dialog.reject();
}

TEST_F(ImportDialog, TheLayoutVariantRefusesADesignLargerThanEveryHoopByItsStitches) {
  vtest::QnfFileSpec understated;  // sews 160 mm, claims 25 mm square
  for (int32_t& e : understated.extents) e = 125;
  understated.stitches = vtest::RectangleStitches(1600, 0);
  const QString qnf = Write("wide.qnf", vtest::BuildQnfFile(understated));
  const QString sew = Write("line.sew", vtest::BuildSewFile({{7}, vtest::RectangleStitches(20000, 0), {}}));
  design::LayoutStitchRecord layoutRecord;
  design_ui::CPatList dialog(nullptr, "Designs (*.qnf *.sew)", QString::fromStdString(dir_.Path().string()),
                             layoutRecord);
  for (const QString& path : {qnf, sew}) {
    box_.Clear();
    dialog.open();
    dialog.selectFile(path);
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(box_.Count(), 2u);  // on the preview and on confirming
    EXPECT_EQ(box_.Shown()[1].text, "The stitch exceed the hoop size limits.");
    EXPECT_EQ(layoutRecord.ColourCount(), 0);
    dialog.reject();
  }
}

TEST_F(ImportDialog, TheLayoutVariantFillsTheLayoutRecord) {
  const QString path = Design("rose.qnf", 20, 2);
  design::LayoutStitchRecord layoutRecord;
  design_ui::CPatList dialog(nullptr, "Designs (*.qnf *.sew)", QString::fromStdString(dir_.Path().string()),
                             layoutRecord);
  dialog.open();
  dialog.selectFile(path);
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(layoutRecord.PairCount(), 21);
  EXPECT_EQ(layoutRecord.ColourCount(), 2);
  EXPECT_EQ(layoutRecord.ThreadCode(1), 12);
  EXPECT_EQ(box_.Count(), 0u);
}

}  // namespace
