// Pictorel's small windows: "Write a Design" over fake card drives, and "Hoop Size".

#include <gtest/gtest.h>

#include <QImage>
#include <QTimer>

#include "design/card/card_writer.h"
#include "digitizer/main_frame_rules.h"
#include "digitizer/ui/frame_images.h"
#include "digitizer/ui/pictorel_small_dialogs.h"
#include "link/link_types.h"
#include "testing/fake_card.h"
#include "testing/recording_message_box.h"

namespace digitizer_ui {
namespace {

// Runs the dialog, pressing Write as soon as it shows.
int RunAndWrite(CCardWriteDesignDlg& dialog) {
  QTimer::singleShot(0, &dialog, [&dialog] { dialog.accept(); });
  return dialog.exec();
}

TEST(CardWriteDesignDialog, WriteEndsWithTheChosenDriveFolderAndName) {
  vtest::RecordingMessageBox boxes;
  vtest::FakeCardVolumes volumes;
  volumes.Add(uint64_t{8} << 30, false, "disk");  // too big to be a card
  const auto card = volumes.Add();
  CCardWriteDesignDlg dialog(nullptr, volumes, "ROSE.qnf");
  dialog.SetNameAsker([](const std::string& current) {
    EXPECT_EQ(current, "ROSE.qnf");
    return std::optional<std::string>("TULIP.qnf");
  });
  dialog.NameButton()->click();
  dialog.OpenSaveBox()->setChecked(true);
  vtest::FakeCardVolumes::FillFolder(card::CardFolder(card, kDestinationAtaCardFolder), 3);
  ASSERT_EQ(RunAndWrite(dialog), QDialog::Accepted);
  EXPECT_EQ(dialog.DriveBox()->count(), 2);
  const digitizer::CardDialogChoice choice = dialog.Choice();
  EXPECT_EQ(choice.drive, card);  // the drive that looks like a card is chosen at first
  EXPECT_TRUE(choice.choice.openSaveFolder);
  EXPECT_EQ(choice.choice.name, "TULIP.qnf");
  EXPECT_EQ(choice.choice.designsFound, 3);
  EXPECT_EQ(boxes.Count(), 0u);
}

TEST(CardWriteDesignDialog, AFullFolderCancelsTheDialog) {
  vtest::RecordingMessageBox boxes;
  vtest::FakeCardVolumes volumes;
  const auto card = volumes.Add();
  vtest::FakeCardVolumes::FillFolder(card::CardFolder(card, kDestinationAtaCard), 100);
  CCardWriteDesignDlg dialog(nullptr, volumes, "ROSE.qnf");
  EXPECT_EQ(RunAndWrite(dialog), QDialog::Rejected);
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, digitizer::kFolderFullText);
}

TEST(HoopSizeDialog, EachButtonClosesWithItsHoop) {
  for (int id : {CHoopSizeDlg::kHoopMId, CHoopSizeDlg::kHoopSId, CHoopSizeDlg::kHoopLId}) {
    CHoopSizeDlg dialog(nullptr);
    dialog.Button(id)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Kind(), id - CHoopSizeDlg::kHoopMId);
  }
}

// The colour-and-stitch bar tells every stitch type apart: no two of the ten types, each with
// its usual parameter (45 degrees, 1.4 mm, 2.0 mm), share a picture.
TEST(ColourAndStitchBar, EveryStitchTypeHasAPictureOfItsOwn) {
  std::vector<QImage> pictures;
  for (int type = 0; type <= 9; ++type) {
    const int parameter = type == 1 ? 45 : type == 5 ? 14 : type == 9 ? 20 : 0;
    const digitizer::StitchPicture picture = digitizer::StitchTypePicture(type, parameter);
    pictures.push_back(StitchTypeImage(picture.image, picture.text).toImage());
  }
  for (std::size_t a = 0; a < pictures.size(); ++a) {
    for (std::size_t b = a + 1; b < pictures.size(); ++b) EXPECT_NE(pictures[a], pictures[b]) << a << " " << b;
  }
}

}  // namespace
}  // namespace digitizer_ui
