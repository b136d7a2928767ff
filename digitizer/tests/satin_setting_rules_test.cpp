#include "digitizer/satin_setting_rules.h"

#include <gtest/gtest.h>

#include "testing/recording_message_box.h"

namespace digitizer {
namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 40;

// A packed region mask with filled rectangles [x0, x1) x [y0, y1).
class MaskBuilder {
 public:
  MaskBuilder() : bytes_(CBitMask(kWidth, kHeight).PackedBytes()) {}
  MaskBuilder& Box(int x0, int y0, int x1, int y1) {
    const int rowBytes = CBitMask::PackedRowBytes(kWidth);
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) bytes_[static_cast<std::size_t>(y * rowBytes + x / 8)] |= 0x80 >> (x % 8);
    }
    return *this;
  }
  const uint8_t* Data() const { return bytes_.data(); }
  std::size_t Size() const { return bytes_.size(); }

 private:
  std::vector<uint8_t> bytes_;
};

// Twelve 2 x 2 squares in a row, 3 pixels apart: regions 1..12 from left to right.
MaskBuilder TwelveSquares() {
  MaskBuilder mask;
  for (int i = 0; i < 12; ++i) mask.Box(1 + 5 * i, 10, 3 + 5 * i, 12);
  return mask;
}

// Two blocks: region 1 at (4..9, 4..9), region 2 at (20..29, 20..29).
MaskBuilder TwoBlocks() { return std::move(MaskBuilder().Box(4, 4, 10, 10).Box(20, 20, 30, 30)); }

TEST(SatinSettingRules, DensityRadiosGiveTheirSpacingAndAnythingElseMedium) {
  EXPECT_EQ(SatinSpacingOf(kDensityFineId), 0.4);
  EXPECT_EQ(SatinSpacingOf(kDensityMediumId), 0.6);
  EXPECT_EQ(SatinSpacingOf(kDensityCoarseId), 1.0);
  EXPECT_EQ(SatinSpacingOf(0), 0.6);
  EXPECT_EQ(SatinSpacingOf(1123), 0.6);
  EXPECT_EQ(SatinDensityIdOf(0.0), kDensityMediumId);
  EXPECT_EQ(SatinDensityIdOf(1.0), kDensityCoarseId);
}

TEST(SatinSettingRules, AnEmptyMaskSaysNoPartsAndCloses) {
  vtest::RecordingMessageBox boxes;
  MaskBuilder mask;
  SatinSettings entries{};
  SatinSettingModel model(mask.Data(), mask.Size(), kWidth, kHeight, entries);
  EXPECT_FALSE(model.Open());
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, "No parts are selected.");
  EXPECT_EQ(boxes.Shown()[0].caption, "Attention");
  EXPECT_EQ(model.Ok(), SatinSettingModel::Result::kCancelled);

  // A mask shorter than its size claims is not read past its end.
  const MaskBuilder full = TwoBlocks();
  SatinSettingModel shortMask(full.Data(), full.Size() - 1, kWidth, kHeight, entries);
  EXPECT_FALSE(shortMask.Open());
  EXPECT_EQ(boxes.Count(), 2u);
}

TEST(SatinSettingRules, TwelveRegionsWarnOnceAndServeTen) {
  vtest::RecordingMessageBox boxes;
  const MaskBuilder mask = TwelveSquares();
  SatinSettings entries{};
  SatinSettingModel model(mask.Data(), mask.Size(), kWidth, kHeight, entries);
  ASSERT_TRUE(model.Open());
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, "Over ten parts are selected.\nRegister the first ten parts.");
  EXPECT_EQ(model.RegionCount(), 10);
  EXPECT_EQ(model.CounterText(), "1/10");
  EXPECT_FALSE(model.CanGoBefore());
  for (int i = 0; i < 20; ++i) model.Next();
  EXPECT_EQ(model.CounterText(), "10/10");
  EXPECT_FALSE(model.CanGoNext());
  // Region 10 is the tenth square from the left: its outline touches column 45.
  EXPECT_EQ(model.Outline()[10 * kWidth + 45], 1);
  EXPECT_EQ(model.Outline()[10 * kWidth + 5], 0);
}

TEST(SatinSettingRules, OneRegionCannotGoNext) {
  vtest::RecordingMessageBox boxes;
  const MaskBuilder mask = MaskBuilder().Box(4, 4, 10, 10);
  SatinSettings entries{};
  SatinSettingModel model(mask.Data(), mask.Size(), kWidth, kHeight, entries);
  ASSERT_TRUE(model.Open());
  EXPECT_EQ(boxes.Count(), 0u);
  EXPECT_EQ(model.CounterText(), "1/1");
  EXPECT_FALSE(model.CanGoNext());
}

TEST(SatinSettingRules, DotsSnapToTheOutlineOrGoBackUnassigned) {
  vtest::RecordingMessageBox boxes;
  const MaskBuilder mask = TwoBlocks();
  SatinSettings entries{};
  SatinSettingModel model(mask.Data(), mask.Size(), kWidth, kHeight, entries);
  ASSERT_TRUE(model.Open());
  // Column 3 is the outline left of region 1; a drop one pixel off lands on the first outline
  // pixel the search meets.
  EXPECT_TRUE(model.DropDot(SatinDot::kStart, {2, 6}));
  EXPECT_TRUE(model.CurrentPoints().startAssigned);
  EXPECT_EQ(model.CurrentPoints().start.x, 3);
  EXPECT_EQ(model.CurrentPoints().start.y, 5);
  // Right on the outline: kept as dropped.
  EXPECT_TRUE(model.DropDot(SatinDot::kStart, {3, 7}));
  EXPECT_EQ(model.CurrentPoints().start.y, 7);
  // Inside the block, more than three pixels from its outline: not accepted.
  EXPECT_FALSE(model.DropDot(SatinDot::kStart, {40, 35}));
  EXPECT_FALSE(model.CurrentPoints().startAssigned);
  EXPECT_EQ(model.CurrentPoints().start.x, 0);
  EXPECT_EQ(model.CurrentPoints().start.y, 0);
  // Region 2's outline is not region 1's.
  EXPECT_FALSE(model.DropDot(SatinDot::kEnd, {19, 25}));
}

TEST(SatinSettingRules, OkWritesCompleteEntriesWithTheOneDensity) {
  vtest::RecordingMessageBox boxes;
  const MaskBuilder mask = TwoBlocks();
  SatinSettings entries{};
  entries[5] = {1, 2, 3, 4, 9.0};  // beyond the regions: cleared
  SatinSettingModel model(mask.Data(), mask.Size(), kWidth, kHeight, entries);
  ASSERT_TRUE(model.Open());
  model.DropDot(SatinDot::kStart, {3, 5});
  model.DropDot(SatinDot::kEnd, {10, 8});
  model.Next();
  model.DropDot(SatinDot::kStart, {19, 20});
  model.DropDot(SatinDot::kEnd, {30, 29});
  model.SetDensityId(kDensityCoarseId);
  EXPECT_EQ(model.Ok(), SatinSettingModel::Result::kAccepted);
  EXPECT_EQ(boxes.Count(), 0u);
  EXPECT_EQ(entries[0].x1, 3);
  EXPECT_EQ(entries[0].y1, 5);
  EXPECT_EQ(entries[0].x2, 10);
  EXPECT_EQ(entries[0].y2, 8);
  EXPECT_EQ(entries[0].spacing, 1.0);
  EXPECT_EQ(entries[1].x1, 19);
  EXPECT_EQ(entries[1].y2, 29);
  EXPECT_EQ(entries[1].spacing, 1.0);
  EXPECT_EQ(entries[5].x1, 0);
  EXPECT_EQ(entries[5].spacing, 0.0);
}

TEST(SatinSettingRules, IncompleteRegionAsksAndEachAnswerDoesItsOwnThing) {
  const MaskBuilder mask = TwoBlocks();
  SatinSettings entries{};
  entries[0] = {77, 77, 77, 77, 0.4};
  SatinSettingModel model(mask.Data(), mask.Size(), kWidth, kHeight, entries);
  vtest::RecordingMessageBox boxes;
  ASSERT_TRUE(model.Open());
  model.Next();
  model.DropDot(SatinDot::kStart, {19, 20});
  model.DropDot(SatinDot::kEnd, {30, 29});

  // No: back to region 1, nothing written.
  boxes.Script({platform::kIdNo});
  EXPECT_EQ(model.Ok(), SatinSettingModel::Result::kStay);
  EXPECT_EQ(model.Current(), 1);
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text,
            "Starting/ending points not assigned.\n Click Yes to ignore.\n Click No to return to reassign "
            "points.\n Click Cancel to quit operation.");
  EXPECT_EQ(boxes.Shown()[0].caption, "Confirm");
  EXPECT_EQ(boxes.Shown()[0].flags & platform::kMbButtonMask, platform::kMbYesNoCancel);
  EXPECT_EQ(entries[0].x1, 77);

  // Cancel: the part keeps the records it had.
  boxes.Script({platform::kIdCancel});
  EXPECT_EQ(model.Ok(), SatinSettingModel::Result::kCancelled);
  EXPECT_EQ(entries[0].x1, 77);

  // Yes: region 1 has no points, region 2 is written; the builder reads entry 0's spacing
  // only, so entry 0 keeps the chosen density, and the dialog opens on it again.
  boxes.Script({platform::kIdYes});
  model.SetDensityId(kDensityFineId);
  EXPECT_EQ(model.Ok(), SatinSettingModel::Result::kAccepted);
  EXPECT_EQ(entries[0].x1, 0);
  EXPECT_EQ(entries[0].spacing, 0.4);
  EXPECT_EQ(entries[1].x1, 19);
  EXPECT_EQ(entries[1].spacing, 0.4);
  SatinSettingModel again(mask.Data(), mask.Size(), kWidth, kHeight, entries);
  ASSERT_TRUE(again.Open());
  EXPECT_EQ(again.DensityId(), kDensityFineId);
}

TEST(SatinSettingRules, YesWithNothingCompleteEndsWithoutOk) {
  vtest::RecordingMessageBox boxes;
  const MaskBuilder mask = TwoBlocks();
  SatinSettings entries{};
  SatinSettingModel model(mask.Data(), mask.Size(), kWidth, kHeight, entries);
  ASSERT_TRUE(model.Open());
  boxes.Script({platform::kIdYes});
  EXPECT_EQ(model.Ok(), SatinSettingModel::Result::kCancelled);
}

TEST(SatinSettingRules, SavedPointsOnTheOutlineComeBackAssigned) {
  vtest::RecordingMessageBox boxes;
  const MaskBuilder mask = TwoBlocks();
  SatinSettings entries{};
  entries[0] = {3, 5, 10, 8, 0.4};
  entries[1] = {25, 25, 30, 29, 0.4};  // start inside the block: not an outline pixel
  SatinSettingModel model(mask.Data(), mask.Size(), kWidth, kHeight, entries);
  ASSERT_TRUE(model.Open());
  EXPECT_EQ(model.DensityId(), kDensityFineId);
  EXPECT_TRUE(model.Points(1).Complete());
  EXPECT_FALSE(model.Points(2).startAssigned);
  EXPECT_FALSE(model.Points(2).endAssigned);
}

TEST(SatinFrameMapping, RoundTripsEveryWorkPixelAndClampsOutside) {
  const SatinFrameMapping mapping(560, 800, 284, 404);
  for (int y = 0; y < 800; y += 7) {
    for (int x = 0; x < 560; x += 7) {
      const MaskPoint frame = mapping.ToFrame({x, y});
      EXPECT_GE(frame.x, 2);
      EXPECT_LT(frame.x, 282);
      const MaskPoint back = mapping.ToWork(frame);
      // Shrinking loses at most one work pixel per frame pixel.
      EXPECT_LE(std::abs(back.x - x), 2);
      EXPECT_LE(std::abs(back.y - y), 2);
    }
  }
  const MaskPoint low = mapping.ToWork({-50, -50});
  EXPECT_EQ(low.x, 0);
  EXPECT_EQ(low.y, 0);
  const MaskPoint high = mapping.ToWork({1000, 1000});
  EXPECT_EQ(high.x, 559);
  EXPECT_EQ(high.y, 799);
  // A degenerate frame does not divide by zero.
  EXPECT_EQ(SatinFrameMapping(560, 800, 0, 0).ToWork({10, 10}).x, 559);
}

}  // namespace
}  // namespace digitizer
