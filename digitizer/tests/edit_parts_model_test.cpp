#include "digitizer/edit_parts_model.h"

#include <gtest/gtest.h>

#include <deque>

#include "design/thread_colors.h"
#include "digitizer/bit_mask.h"
#include "digitizer/part_names.h"
#include "testing/recording_message_box.h"

namespace digitizer {
namespace {

constexpr int kMaskWidth = 32;
constexpr int kMaskHeight = 42;

class ScriptedDialogs : public PartDialogs {
 public:
  std::optional<LineStitchChoice> EditLineStitch(const LineStitchChoice& start) override {
    lineStarts.push_back(start);
    return Next(lineAnswers);
  }
  std::optional<FillStitchChoice> EditFillStitch(PartRecord& part, const FillStitchChoice& start) override {
    fillParts.push_back(&part);
    fillStarts.push_back(start);
    return Next(fillAnswers);
  }
  void ShowAllColors(CPartList& parts) override { allColorsShown = &parts; }

  template <typename T>
  static std::optional<T> Next(std::deque<std::optional<T>>& answers) {
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::deque<std::optional<LineStitchChoice>> lineAnswers;
  std::deque<std::optional<FillStitchChoice>> fillAnswers;
  std::vector<LineStitchChoice> lineStarts;
  std::vector<FillStitchChoice> fillStarts;
  std::vector<PartRecord*> fillParts;
  CPartList* allColorsShown = nullptr;
};

const design::ThreadColorEntry& Row(int index) {
  return design::ExtendedThreadColorTable()[static_cast<std::size_t>(index)];
}

class EditPartsTest : public ::testing::Test {
 protected:
  // Parts coloured by table rows 0, 1, 2, ...
  void AddParts(std::vector<uint16_t> stitches) {
    const std::size_t maskBytes = CBitMask(kMaskWidth, kMaskHeight).PackedBytes();
    for (std::size_t i = 0; i < stitches.size(); ++i) {
      parts_.AddPart(static_cast<int16_t>(Row(static_cast<int>(i)).code), stitches[i], maskBytes);
    }
    parts_.SaveOrder();
  }
  std::vector<int> ColourRows() const {
    std::vector<int> rows;
    for (int i = 0; i < parts_.GetCount(); ++i) rows.push_back(LookupThreadIndex(parts_.GetPart(i)->workingColour));
    return rows;
  }
  std::vector<int> ItemRows(const EditPartsModel& model) const {
    std::vector<int> rows;
    for (int i = 0; i < model.ItemCount(); ++i) rows.push_back(LookupThreadIndex(model.Item(i).workingColour));
    return rows;
  }

  vtest::RecordingMessageBox boxes_;
  ScriptedDialogs dialogs_;
  CPartList parts_;
};

TEST_F(EditPartsTest, ItemTextsCarryPositionColourAndLabel) {
  AddParts({MakeStitchCode(kHorizontalWeave, 0), MakeStitchCode(kZigzagStitch, 14),
            MakeStitchCode(kDiagonalWeave, 30), MakeStitchCode(kStraightStitch, 25), MakeStitchCode(kSatinStitch, 0)});
  parts_.GetPart(3)->flag = 1;
  EditPartsModel model(parts_, dialogs_, kMaskWidth, kMaskHeight);
  EXPECT_EQ(model.ItemText(0), "(1) " + std::string(Row(0).shortName) + " H");
  EXPECT_EQ(model.ItemText(1), "(2) " + std::string(Row(1).shortName) + " Z1.4");
  EXPECT_EQ(model.ItemText(2), "(3) " + std::string(Row(2).shortName) + " D30");
  EXPECT_EQ(model.ItemText(3), "(4*) " + std::string(Row(3).shortName) + " S2.5");
  EXPECT_EQ(model.ItemText(4), "(5) " + std::string(Row(4).shortName) + " STN");
}

TEST_F(EditPartsTest, ThumbnailsPlotTheMaskAndAreFreedWithTheDialog) {
  AddParts({MakeStitchCode(kHorizontalWeave, 0), MakeStitchCode(kZigzag3mm, 0)});
  for (int i = 0; i < 2; ++i) {
    uint8_t* mask = parts_.GetPart(i)->mask.data();
    const int rowBytes = CBitMask::PackedRowBytes(kMaskWidth);
    mask[0] = 0x80;                       // pixel (0, 0)
    mask[41 * rowBytes + 3] = 0x01;       // pixel (31, 41)
  }
  {
    EditPartsModel model(parts_, dialogs_, kMaskWidth, kMaskHeight);
    ASSERT_EQ(parts_.GetPart(0)->thumbnail.size(), 672u);
    const PixelImage one = model.ThumbnailImage(0);
    const platform::PaletteColour colour = design::GetThreadColor(Row(0).code);
    EXPECT_EQ(one.At(0, 0), colour);
    EXPECT_EQ(one.At(1, 1), EditPartsModel::kThumbnailBackground);
    EXPECT_EQ(one.At(62, 82), colour);  // 31 * 64 / 32, 41 * 84 / 42
    // The 3 mm zigzag shows as 3 x 3 dots, cut at the thumbnail's edge.
    const PixelImage three = model.ThumbnailImage(1);
    EXPECT_NE(three.At(2, 2), EditPartsModel::kThumbnailBackground);
    EXPECT_EQ(three.At(3, 3), EditPartsModel::kThumbnailBackground);
    EXPECT_NE(three.At(63, 83), EditPartsModel::kThumbnailBackground);
  }
  EXPECT_TRUE(parts_.GetPart(0)->thumbnail.empty());
}

TEST_F(EditPartsTest, ThumbnailOfAShortMaskShowsOnlyItsRows) {
  parts_.AddPart(static_cast<int16_t>(Row(0).code), 0, 5);  // far shorter than 42 rows of 4 bytes
  parts_.GetPart(0)->mask.assign(5, 0xFF);
  parts_.SaveOrder();
  EditPartsModel model(parts_, dialogs_, kMaskWidth, kMaskHeight);
  EXPECT_NE(model.ThumbnailImage(0).At(0, 0), EditPartsModel::kThumbnailBackground);
  EXPECT_EQ(model.ThumbnailImage(0).At(0, 10), EditPartsModel::kThumbnailBackground);
}

TEST_F(EditPartsTest, DotSizesFollowTheFillType) {
  EXPECT_EQ(ThumbnailDotSize(MakeStitchCode(kCrossStitch, 0)), 1);
  EXPECT_EQ(ThumbnailDotSize(MakeStitchCode(kStraightStitch, 60)), 1);
  EXPECT_EQ(ThumbnailDotSize(MakeStitchCode(kZigzagStitch, 17)), 1);
  EXPECT_EQ(ThumbnailDotSize(MakeStitchCode(kZigzagStitch, 18)), 2);
  EXPECT_EQ(ThumbnailDotSize(MakeStitchCode(kZigzagStitch, 34)), 3);
  EXPECT_EQ(ThumbnailDotSize(MakeStitchCode(kZigzagStitch, 44)), 4);
  EXPECT_EQ(ThumbnailDotSize(MakeStitchCode(kZigzagStitch, 45)), 5);
  EXPECT_EQ(ThumbnailDotSize(MakeStitchCode(kZigzag2mm, 0)), 2);
  EXPECT_EQ(ThumbnailDotSize(MakeStitchCode(kZigzag5mm, 0)), 5);
}

TEST_F(EditPartsTest, NothingSelectedIsRefusedWithTheMessages) {
  AddParts({0, 0});
  EditPartsModel model(parts_, dialogs_, kMaskWidth, kMaskHeight);
  model.EditSelected();
  EXPECT_EQ(model.DeleteSelected(), EditPartsModel::Result::kStay);
  model.PressMove();
  const auto shown = boxes_.Shown();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].text, "You must select a part.");
  EXPECT_EQ(shown[1].text, "You must select a part.");
  EXPECT_EQ(shown[2].text, "You need to select part(s).");
  EXPECT_EQ(shown[2].caption, "Edit Parts");
  EXPECT_EQ(shown[2].flags, platform::kMbOk | platform::kMbIconExclamation);
  EXPECT_FALSE(model.IsMoving());
}

TEST_F(EditPartsTest, LineDialogEditsTheWorkingFieldsAndRemembersTheWidth) {
  AddParts({MakeStitchCode(kZigzagStitch, 14), MakeStitchCode(kZigzag2mm, 0)});
  EditPartsModel model(parts_, dialogs_, kMaskWidth, kMaskHeight);
  // 2.3 mm is 22.999... tenths in binary: it must still be 23.
  dialogs_.lineAnswers = {LineStitchChoice{5, kZigzagStitch, 2.3, 2.0}, LineStitchChoice{6, kStraightStitch, 2.3, 3.1}};
  model.SetSelection({0, 1});
  model.EditSelected();
  ASSERT_EQ(dialogs_.lineStarts.size(), 2u);
  EXPECT_EQ(dialogs_.lineStarts[0].colourIndex, 0);
  EXPECT_EQ(dialogs_.lineStarts[0].fillType, kZigzagStitch);
  EXPECT_DOUBLE_EQ(dialogs_.lineStarts[0].zigzagWidthMm, 1.4);
  EXPECT_DOUBLE_EQ(dialogs_.lineStarts[0].straightLengthMm, 2.0);
  // The second part opens with the width the first one was given.
  EXPECT_EQ(dialogs_.lineStarts[1].colourIndex, 1);
  EXPECT_DOUBLE_EQ(dialogs_.lineStarts[1].zigzagWidthMm, 2.3);

  EXPECT_EQ(model.Item(0).workingStitch, MakeStitchCode(kZigzagStitch, 23));
  EXPECT_EQ(model.Item(0).workingColour, Row(5).code);
  EXPECT_EQ(model.Item(1).workingStitch, MakeStitchCode(kStraightStitch, 31));
  EXPECT_EQ(model.Item(1).workingColour, Row(6).code);
  EXPECT_EQ(model.Item(0).stitch, MakeStitchCode(kZigzagStitch, 14));  // applied only by the frame
  EXPECT_EQ(model.ItemText(0), "(1) " + std::string(Row(5).shortName) + " Z2.3");
}

TEST_F(EditPartsTest, FillDialogGetsThePartAndTheAngle) {
  AddParts({MakeStitchCode(kDiagonalWeave, 30), MakeStitchCode(kCrossStitch, 0), MakeStitchCode(kVerticalWeave, 0)});
  EditPartsModel model(parts_, dialogs_, kMaskWidth, kMaskHeight);
  dialogs_.fillAnswers = {FillStitchChoice{9, kDiagonalWeave, 60}, FillStitchChoice{3, kSatinStitch, 60},
                          std::nullopt};
  model.SetSelection({0, 1, 2});
  model.EditSelected();
  ASSERT_EQ(dialogs_.fillStarts.size(), 3u);
  EXPECT_EQ(dialogs_.fillParts[0], parts_.GetPart(0));
  EXPECT_EQ(dialogs_.fillStarts[0].angle, 30);
  EXPECT_EQ(dialogs_.fillStarts[1].angle, 60);  // remembered from the first
  EXPECT_EQ(model.Item(0).workingStitch, MakeStitchCode(kDiagonalWeave, 60));
  EXPECT_EQ(model.Item(1).workingStitch, MakeStitchCode(kSatinStitch, 0));
  EXPECT_EQ(model.Item(1).workingColour, Row(3).code);
  // Cancel leaves the part alone.
  EXPECT_EQ(model.Item(2).workingStitch, MakeStitchCode(kVerticalWeave, 0));
  EXPECT_EQ(model.Item(2).workingColour, Row(2).code);
}

TEST_F(EditPartsTest, DeleteAsksThenRemovesAndRenumbers) {
  AddParts({0, 0, 0, 0});
  EditPartsModel model(parts_, dialogs_, kMaskWidth, kMaskHeight);
  model.SetSelection({1, 2});
  boxes_.Script({platform::kIdNo});
  EXPECT_EQ(model.DeleteSelected(), EditPartsModel::Result::kStay);
  EXPECT_EQ(parts_.GetCount(), 4);
  ASSERT_EQ(boxes_.Count(), 1u);
  EXPECT_EQ(boxes_.Shown()[0].text, "Are you sure you want to delete this part?");
  EXPECT_EQ(boxes_.Shown()[0].caption, "Confirm");
  EXPECT_EQ(boxes_.Shown()[0].flags, platform::kMbYesNo | platform::kMbIconQuestion);

  boxes_.Script({platform::kIdYes});
  EXPECT_EQ(model.DeleteSelected(), EditPartsModel::Result::kStay);
  EXPECT_EQ(ColourRows(), (std::vector<int>{0, 3}));
  EXPECT_EQ(parts_.GetPart(1)->order, 2);
  EXPECT_EQ(model.ItemCount(), 2);
  EXPECT_EQ(model.ItemText(1).substr(0, 4), "(2) ");
  EXPECT_FALSE(model.Accepted());
}

TEST_F(EditPartsTest, DeleteThenCancelLeavesThePartsAsTheyWere) {
  AddParts({0, 0, 0, 0});
  std::vector<PartRecord*> before;
  for (int i = 0; i < parts_.GetCount(); ++i) before.push_back(parts_.GetPart(i));
  EditPartsModel model(parts_, dialogs_, kMaskWidth, kMaskHeight);
  model.SetSelection({3});
  model.PressMove();
  model.ClickItem(0);
  model.SetSelection({1, 2});
  boxes_.Script({platform::kIdYes});
  model.DeleteSelected();
  EXPECT_EQ(parts_.GetCount(), 2);
  model.Cancel();
  ASSERT_EQ(parts_.GetCount(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(parts_.GetPart(i), before[static_cast<std::size_t>(i)]);
    EXPECT_EQ(parts_.GetPart(i)->order, i + 1);
  }
  EXPECT_EQ(model.ItemCount(), 4);
}

TEST_F(EditPartsTest, DeletingTheLastPartClosesAsByOk) {
  AddParts({0});
  EditPartsModel model(parts_, dialogs_, kMaskWidth, kMaskHeight);
  model.SetSelection({0});
  boxes_.Script({platform::kIdYes});
  EXPECT_EQ(model.DeleteSelected(), EditPartsModel::Result::kAccepted);
  EXPECT_TRUE(model.Accepted());
  EXPECT_FALSE(model.MakeRequested());
  EXPECT_EQ(parts_.GetCount(), 0);
}

TEST_F(EditPartsTest, MoveTakesTheRememberedPartsBeforeTheClickedOne) {
  AddParts({0, 0, 0, 0, 0});
  EditPartsModel model(parts_, dialogs_, kMaskWidth, kMaskHeight);
  model.SetSelection({3, 1});
  model.PressMove();
  EXPECT_EQ(model.Caption(), "Moving - Edit Parts");
  EXPECT_EQ(model.MoveButtonText(), "Move To");
  model.SetSelection({});  // a changed selection does not change what moves
  model.ClickItem(0);
  EXPECT_EQ(model.Caption(), "Edit Parts");
  EXPECT_EQ(model.MoveButtonText(), "Move");
  EXPECT_EQ(ItemRows(model), (std::vector<int>{1, 3, 0, 2, 4}));
  EXPECT_EQ(model.ItemText(0).substr(0, 4), "(1) ");
  // The parts follow on OK.
  EXPECT_EQ(model.Ok(), EditPartsModel::Result::kAccepted);
  EXPECT_EQ(ColourRows(), (std::vector<int>{1, 3, 0, 2, 4}));
}

TEST_F(EditPartsTest, SecondMovePressCancels) {
  AddParts({0, 0, 0});
  EditPartsModel model(parts_, dialogs_, kMaskWidth, kMaskHeight);
  model.SetSelection({2});
  model.PressMove();
  model.PressMove();
  EXPECT_FALSE(model.IsMoving());
  model.ClickItem(0);
  EXPECT_EQ(ItemRows(model), (std::vector<int>{0, 1, 2}));
}

TEST_F(EditPartsTest, DropOnAMovedPartLandsBeforeTheNextOneThatStays) {
  AddParts({0, 0, 0, 0, 0});
  EditPartsModel model(parts_, dialogs_, kMaskWidth, kMaskHeight);
  model.SetSelection({0, 1});
  model.DropSelectionOn(1);
  EXPECT_EQ(ItemRows(model), (std::vector<int>{0, 1, 2, 3, 4}));
  model.SetSelection({0, 4});
  model.DropSelectionOn(2);
  EXPECT_EQ(ItemRows(model), (std::vector<int>{1, 0, 4, 2, 3}));
  EXPECT_EQ(model.Selection(), (std::vector<int>{1, 2}));
  model.SetSelection({1});
  model.DropSelectionOn(4);
  EXPECT_EQ(ItemRows(model), (std::vector<int>{1, 4, 2, 0, 3}));
}

TEST_F(EditPartsTest, MakeAndAllColorsAndCancel) {
  AddParts({0, 0});
  {
    EditPartsModel model(parts_, dialogs_, kMaskWidth, kMaskHeight);
    model.ShowAllColors();
    EXPECT_EQ(dialogs_.allColorsShown, &parts_);
    EXPECT_EQ(model.Make(), EditPartsModel::Result::kAccepted);
    EXPECT_TRUE(model.MakeRequested());
  }
  {
    // Cancel: the model is dropped without Ok; edits stay in the working fields only.
    EditPartsModel model(parts_, dialogs_, kMaskWidth, kMaskHeight);
    dialogs_.fillAnswers = {FillStitchChoice{7, kCrossStitch, 0}};
    model.SetSelection({0});
    model.EditSelected();
    EXPECT_FALSE(model.Accepted());
  }
  EXPECT_EQ(parts_.GetPart(0)->colour, Row(0).code);
  EXPECT_EQ(parts_.GetPart(0)->workingColour, Row(7).code);
}

}  // namespace
}  // namespace digitizer
