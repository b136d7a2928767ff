#include "hooplayout/position_split.h"

#include <gtest/gtest.h>

#include <vector>

#include "design/qnf_reader.h"
#include "hooplayout/tests/design_builder.h"
#include "platform/le_bytes.h"

namespace {

using hooplayout::CombineResult;
using hooplayout::CPositionCombiner;
using hooplayout::LayoutDesign;
using Bytes = std::vector<uint8_t>;

uint8_t B(int v) { return static_cast<uint8_t>(v); }

Bytes StreamOf(const CPositionCombiner& c) { return Bytes(c.Stream().begin(), c.Stream().end()); }

TEST(SplitIntoPositions, EachGroupIsSewnOldestFirst) {
  hooplayout::DesignList list;
  // The head is the newest design.
  list.push_back(hltest::Design("newA", 320, 200, {10, 0, 0x80, 0x10}));
  list.push_back(hltest::Design("newB", 100, 200, {10, 0, 0x80, 0x10}));
  list.push_back(hltest::Design("oldA", 400, 100, {10, 0, 0x80, 0x10}));
  list.push_back(hltest::Design("oldB", 20, 300, {10, 0, 0x80, 0x10}));
  const auto groups = hooplayout::SplitIntoPositions(list);
  ASSERT_EQ(groups[0].size(), 2u);
  ASSERT_EQ(groups[1].size(), 2u);
  EXPECT_EQ(groups[0][0]->name, "oldA");
  EXPECT_EQ(groups[0][1]->name, "newA");
  EXPECT_EQ(groups[1][0]->name, "oldB");
  EXPECT_EQ(groups[1][1]->name, "newB");
}

TEST(CPositionCombiner, SpaceAJoinsWithAColourChangeFromItsCentre) {
  const LayoutDesign first = hltest::Design("a", 320, 200, {10, 0, 0x80, 0x10}, {3});
  const LayoutDesign second = hltest::Design("b", 330, 190, {0, 10, 5, 0, 0x80, 0x10}, {5, 7});
  CPositionCombiner c;
  ASSERT_EQ(c.Combine({&first, &second}, 1), CombineResult::kOk);
  // No move to the first design, which starts at the centre; it ends at (322, 200).
  EXPECT_EQ(StreamOf(c), (Bytes{10, 0, 0x80, 0x01, 0, 0, 0x80, 0x02, 40, 50, 0, 0, 0, 10, 5, 0, 0x80, 0x10}));
  EXPECT_EQ(c.ThreadCodes(), (std::vector<int32_t>{3, 5, 7}));
}

TEST(CPositionCombiner, TheSameThreadOnBothSidesJoinsWithoutAStop) {
  LayoutDesign first = hltest::Design("a", 320, 200, {10, 0, 0x80, 0x10}, {4, 3});
  first.working->SetThreadType(0, 40);
  first.working->SetThreadType(1, 30);
  LayoutDesign second = hltest::Design("b", 322, 200, {0, 10, 0x80, 0x10}, {3});
  second.working->SetThreadType(0, 31);
  CPositionCombiner c;
  ASSERT_EQ(c.Combine({&first, &second}, 1), CombineResult::kOk);
  EXPECT_EQ(StreamOf(c), (Bytes{10, 0, 0, 10, 0x80, 0x10}));
  EXPECT_EQ(c.ColourCount(), 2);
  EXPECT_EQ(c.ThreadCodes(), (std::vector<int32_t>{4, 3}));
  EXPECT_EQ(c.SecondValues(), (std::vector<int32_t>{40, 31}));
}

TEST(CPositionCombiner, SpaceBIsTurnedAroundItsFirstPoint) {
  const LayoutDesign first = hltest::Design("a", 150, 200, {10, 0, 20, 0, 0x80, 0x10}, {3});
  LayoutDesign second = hltest::Design("b", 150, 210, {0, 10, 0, 5, 0x80, 0x10}, {5});
  second.angle = 90;  // its own turn first: (0, 10) becomes (10, 0)
  CPositionCombiner c;
  ASSERT_EQ(c.Combine({&first, &second}, 2), CombineResult::kOk);
  // Before the half turn: jump (50, 0) and its landing, 10 0, 20 0, join, jump from the
  // end at stitch point (780, 1000) to (750, 1050) = (-30, -50) and its landing, 10 0, 5 0.
  // Every design keeps its first stitch.
  EXPECT_EQ(StreamOf(c), (Bytes{0x80, 0x02, B(-50), 0, 0, 0, B(-10), 0, B(-20), 0, 0x80, 0x01, 0, 0,
                                0x80, 0x02, 30, 50, 0, 0, B(-10), 0, B(-5), 0, 0x80, 0x10}));
  EXPECT_EQ(c.ThreadCodes(), (std::vector<int32_t>{3, 5}));
  // Needle points from the start: (-50,0) lands, (-60,0), (-80,0), then (-50,50) lands,
  // (-60,50), (-65,50).
  EXPECT_EQ(c.Bounds(), (hooplayout::StreamBounds{-80, 0, 0, 50}));
}

TEST(CPositionCombiner, SeventyEightColourPartsPassAndSeventyNineFailEvenWithJoins) {
  std::vector<LayoutDesign> designs;
  for (int i = 0; i < 3; ++i) {
    designs.push_back(hltest::Design("d", 320, 200, {1, 0, 0x80, 0x10}, std::vector<int16_t>(26, 9)));
  }
  CPositionCombiner c;
  EXPECT_EQ(c.Combine({&designs[0], &designs[1], &designs[2]}, 1), CombineResult::kOk);
  EXPECT_EQ(c.ColourCount(), 76);  // two parts joined away
  designs.push_back(hltest::Design("e", 320, 200, {1, 0, 0x80, 0x10}, {9}));
  EXPECT_EQ(c.Combine({&designs[0], &designs[1], &designs[2], &designs[3]}, 1),
            CombineResult::kTooManyColours);
  EXPECT_STREQ(hooplayout::CombineMessage(CombineResult::kTooManyColours),
               "Cannot Combine.\nNumber of color parts has exceeded the limit of 78.");
  // A record claiming an impossible count never passes.
  designs[3].working->SetColourCount(-50);
  EXPECT_EQ(c.Combine({&designs[0], &designs[3]}, 1), CombineResult::kTooManyColours);
}

TEST(CPositionCombiner, AStreamPastItsLimitFails) {
  const Bytes stitches = hltest::StitchesInPlace(40000);
  const LayoutDesign a = hltest::Design("a", 320, 200, stitches);
  const LayoutDesign b = hltest::Design("b", 320, 200, stitches);
  CPositionCombiner c;
  EXPECT_EQ(c.Combine({&a}, 1), CombineResult::kOk);
  EXPECT_EQ(c.Combine({&a, &b}, 1), CombineResult::kTooManyStitches);
  EXPECT_STREQ(hooplayout::CombineMessage(CombineResult::kTooManyStitches),
               "Cannot Combine.\nStitch count has exceeded the limit.");
  LayoutDesign broken = hltest::Design("c", 320, 200, {1, 0});
  // No end pair anywhere in the record.
  const std::span<uint8_t> area = broken.working->StitchArea();
  for (std::size_t i = 0; i < area.size(); ++i) area[i] = i % 4 == 0 ? 1 : i % 4 == 2 ? 0xFF : 0;
  EXPECT_EQ(c.Combine({&broken}, 1), CombineResult::kTooManyStitches);
}

TEST(CPositionCombiner, FileImageHeaderFieldByField) {
  LayoutDesign d = hltest::Design("a", 320, 200, {10, 0, 0, 20, B(-30), 0, 0x80, 0x10}, {6, 8});
  d.working->SetThreadType(0, 60);
  d.working->SetThreadType(1, 80);
  CPositionCombiner c;
  ASSERT_EQ(c.Combine({&d}, 1), CombineResult::kOk);
  const Bytes image = c.FileImage('Q', platform::LocalTime{2026, 3, 4, 5, 6, 7});
  ASSERT_EQ(image.size(), 116u + 16 + 8);
  const uint8_t* p = image.data();
  EXPECT_EQ(platform::ReadI32(p + 0), 132);
  EXPECT_EQ(platform::ReadI32(p + 4), 1);
  EXPECT_EQ(std::string(p + 8, p + 22), "20260304050607");
  EXPECT_EQ(p[22], 'Q');
  EXPECT_EQ(p[23], 1);
  EXPECT_EQ(platform::ReadI32(p + 24), 2);
  EXPECT_EQ(platform::ReadI32(p + 28), 4);
  EXPECT_EQ(platform::ReadI32(p + 32), 2);
  // Points (10,0), (10,20), (-20,20): left 20, top 20, right 10, bottom 0.
  const int32_t expected[] = {20, 20, 10, 0, -1, -1, -1, -1, -1, -1, -1, -1,
                              680, 980, 690, 1000, 680, 980, 690, 1000, 6, 8, 60, 80};
  for (int k = 0; k < 24; ++k) EXPECT_EQ(platform::ReadI32(p + 36 + 4 * k), expected[k]) << k;
  EXPECT_EQ(Bytes(image.begin() + 132, image.end()), (Bytes{10, 0, 0, 20, B(-30), 0, 0x80, 0x10}));
  // The design reader takes it whole.
  design::StitchRecord read;
  EXPECT_EQ(design::ReadQnf(image, read), design::QnfReadStatus::kOk);
  EXPECT_EQ(read.PairCount(), 4);
}

}  // namespace
