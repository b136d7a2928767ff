#include "digitizer/ui/edit_parts_dialog.h"

#include <QPushButton>
#include <gtest/gtest.h>

#include "design/thread_colors.h"
#include "digitizer/bit_mask.h"
#include "digitizer/part_names.h"
#include "digitizer/ui/tests/round_part.h"
#include "testing/recording_message_box.h"

namespace digitizer_ui {
namespace {

using digitizer::FillStitchChoice;
using digitizer::LineStitchChoice;

class FixedDialogs : public digitizer::PartDialogs {
 public:
  std::optional<LineStitchChoice> EditLineStitch(const LineStitchChoice&) override { return std::nullopt; }
  std::optional<FillStitchChoice> EditFillStitch(digitizer::PartRecord&, const FillStitchChoice&) override {
    return FillStitchChoice{4, digitizer::kCrossStitch, 0};
  }
  void ShowAllColors(digitizer::CPartList&) override { ++allColors; }
  int allColors = 0;
};

class EditPartsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::size_t maskBytes = digitizer::CBitMask(16, 16).PackedBytes();
    for (int i = 0; i < 3; ++i) {
      parts_.AddPart(static_cast<int16_t>(design::ExtendedThreadColorTable()[i].code), 0, maskBytes);
    }
    parts_.SaveOrder();
  }
  vtest::RecordingMessageBox boxes_;
  FixedDialogs dialogs_;
  digitizer::CPartList parts_;
};

TEST_F(EditPartsDialogTest, ShowsOneThumbnailPerPartAndForwardsTheButtons) {
  CEditPartsDlg dialog(nullptr, parts_, dialogs_, 16, 16);
  EXPECT_EQ(dialog.windowTitle(), "Edit Parts");
  ASSERT_EQ(dialog.List()->count(), 3);
  EXPECT_EQ(dialog.List()->item(2)->text().toStdString(), dialog.Model().ItemText(2));
  EXPECT_EQ(dialog.List()->iconSize(), QSize(64, 84));

  dialog.Button(CEditPartsDlg::kColorStitchId)->click();
  ASSERT_EQ(boxes_.Count(), 1u);
  EXPECT_EQ(boxes_.Shown()[0].text, "You must select a part.");

  dialog.List()->item(1)->setSelected(true);
  dialog.Button(CEditPartsDlg::kColorStitchId)->click();
  EXPECT_EQ(parts_.GetPart(1)->workingColour, design::ExtendedThreadColorTable()[4].code);
  EXPECT_EQ(dialog.List()->item(1)->text().toStdString(), dialog.Model().ItemText(1));

  dialog.Button(CEditPartsDlg::kAllColorId)->click();
  EXPECT_EQ(dialogs_.allColors, 1);
}

// The thumbnails are taller than wide, the hoops are not: a round part shows round on each.
TEST(EditPartsDialogThumbnails, ARoundPartShowsRoundOnEveryHoop) {
  FixedDialogs dialogs;
  const int sizes[][2] = {{440, 440}, {200, 200}, {560, 800}};
  for (const auto& [width, height] : sizes) {
    digitizer::CPartList parts;
    const std::vector<uint8_t> disc = PackedDisc(width, height, width / 2, height / 2, width / 4);
    parts.AddPart(static_cast<int16_t>(design::ExtendedThreadColorTable()[3].code), 0, disc.size());
    parts.GetPart(0)->mask = disc;
    parts.SaveOrder();
    CEditPartsDlg dialog(nullptr, parts, dialogs, width, height);
    ASSERT_EQ(dialog.List()->count(), 1);
    const QImage thumbnail = dialog.List()->item(0)->icon().pixmap(QSize(64, 84)).toImage();
    ASSERT_EQ(thumbnail.size(), QSize(64, 84));
    const QRect part = PaintedBounds(thumbnail, qRgb(220, 220, 220));
    ASSERT_FALSE(part.isEmpty()) << width << " x " << height;
    EXPECT_LE(std::abs(part.width() - part.height()), 1) << width << " x " << height << ": " << part.width() << " x "
                                                         << part.height();
  }
}

TEST_F(EditPartsDialogTest, MoveChangesCaptionAndButtonUntilAnItemIsClicked) {
  CEditPartsDlg dialog(nullptr, parts_, dialogs_, 16, 16);
  dialog.List()->item(2)->setSelected(true);
  dialog.Button(CEditPartsDlg::kMoveId)->click();
  EXPECT_EQ(dialog.windowTitle(), "Moving - Edit Parts");
  EXPECT_EQ(dialog.Button(CEditPartsDlg::kMoveId)->text(), "Move To");
  emit dialog.List()->itemClicked(dialog.List()->item(0));
  EXPECT_EQ(dialog.windowTitle(), "Edit Parts");
  EXPECT_EQ(dialog.Button(CEditPartsDlg::kMoveId)->text(), "Move");
  EXPECT_EQ(dialog.Model().Item(0).order, 1);
  EXPECT_EQ(dialog.Model().Item(0).workingColour, design::ExtendedThreadColorTable()[2].code);
}

TEST_F(EditPartsDialogTest, DeletingEveryPartClosesAsByOk) {
  CEditPartsDlg dialog(nullptr, parts_, dialogs_, 16, 16);
  dialog.List()->selectAll();
  boxes_.Script({platform::kIdYes});
  dialog.Button(CEditPartsDlg::kDeleteId)->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(dialog.Model().Accepted());
  EXPECT_EQ(parts_.GetCount(), 0);
}

TEST_F(EditPartsDialogTest, MakeClosesWithTheRequest) {
  CEditPartsDlg dialog(nullptr, parts_, dialogs_, 16, 16);
  dialog.Button(CEditPartsDlg::kMakeId)->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(dialog.Model().MakeRequested());
}

}  // namespace
}  // namespace digitizer_ui
