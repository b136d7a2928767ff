#include "digitizer/part_list.h"

#include <gtest/gtest.h>

#include "design/thread_colors.h"
#include "digitizer/part_names.h"

namespace digitizer {
namespace {

std::vector<int> Orders(const CPartList& list) {
  std::vector<int> orders;
  for (int i = 0; i < list.GetCount(); ++i) orders.push_back(list.GetPart(i)->order);
  return orders;
}

std::vector<int> Colours(const CPartList& list) {
  std::vector<int> colours;
  for (int i = 0; i < list.GetCount(); ++i) colours.push_back(list.GetPart(i)->colour);
  return colours;
}

TEST(PartList, AddGivesAZeroedMaskAndZeroedSatinColumns) {
  CPartList list;
  uint8_t* mask = list.AddPart(7, MakeStitchCode(kDiagonalWeave, 30), 100);
  ASSERT_NE(mask, nullptr);
  mask[99] = 0xFF;
  const PartRecord& part = *list.GetPart(0);
  EXPECT_EQ(part.colour, 7);
  EXPECT_EQ(part.stitch, 0x1E01);
  EXPECT_EQ(part.mask.size(), 100u);
  EXPECT_EQ(part.mask[0], 0);
  EXPECT_EQ(part.mask[99], 0xFF);
  EXPECT_TRUE(part.thumbnail.empty());
  EXPECT_EQ(part.satin[9].x2, 0);
  EXPECT_EQ(part.satin[0].spacing, 0.0);

  SatinSettings settings{};
  settings[3] = {1, 2, 3, 4, 0.4};
  list.AddPartWithSettings(9, kSatinStitch, 10, settings);
  EXPECT_EQ(list.GetPart(1)->satin[3].y2, 4);
  EXPECT_EQ(list.GetPart(1)->satin[3].spacing, 0.4);
  EXPECT_EQ(list.GetCount(), 2);
  EXPECT_EQ(list.GetPart(2), nullptr);
  EXPECT_EQ(list.GetPart(-1), nullptr);
  EXPECT_EQ(list.RemoveAll(), 2);
  EXPECT_EQ(list.GetCount(), 0);
}

TEST(PartList, RemovingAPartMovesItsFollowersUp) {
  CPartList list;
  for (int i = 0; i < 5; ++i) list.AddPart(static_cast<int16_t>(i + 1), 0, 4);
  list.SaveOrder();
  ASSERT_TRUE(list.RemovePart(2));
  EXPECT_EQ(Orders(list), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(Colours(list), (std::vector<int>{1, 2, 4, 5}));
  EXPECT_FALSE(list.RemovePart(4));
  EXPECT_FALSE(list.RemovePart(-1));
}

// While the list is not in number order, the numbers still close up behind the removed part.
TEST(PartList, RemovingKeepsNumbersWholeWhileOutOfOrder) {
  CPartList list;
  for (int i = 0; i < 4; ++i) list.AddPart(static_cast<int16_t>(i + 1), 0, 4);
  const int orders[] = {3, 1, 4, 2};
  for (int i = 0; i < 4; ++i) list.GetPart(i)->order = orders[i];
  ASSERT_TRUE(list.RemovePart(0));  // the part numbered 3
  EXPECT_EQ(Orders(list), (std::vector<int>{1, 3, 2}));
  list.SortByOrder();
  EXPECT_EQ(Colours(list), (std::vector<int>{2, 4, 3}));
}

TEST(PartList, SortByOrderSurvivesNumbersThatAreNotOneToN) {
  CPartList list;
  for (int i = 0; i < 4; ++i) list.AddPart(static_cast<int16_t>(i + 1), 0, 4);
  const int orders[] = {9, -3, 9, 0};
  for (int i = 0; i < 4; ++i) list.GetPart(i)->order = orders[i];
  list.SortByOrder();
  EXPECT_EQ(Colours(list), (std::vector<int>{2, 4, 1, 3}));
}

TEST(PartList, SaveAndRestoreOrderCarryTheWorkingFields) {
  CPartList list;
  list.AddPart(3, 0x0105, 4);
  list.AddPart(4, 0x0002, 4);
  list.GetPart(0)->flag = 1;
  list.SaveOrder();
  EXPECT_EQ(Orders(list), (std::vector<int>{1, 2}));
  EXPECT_EQ(list.GetPart(0)->flag, 0);
  EXPECT_EQ(list.GetPart(0)->workingColour, 3);
  EXPECT_EQ(list.GetPart(0)->workingStitch, 0x0105);
  list.GetPart(1)->workingColour = 11;
  list.GetPart(1)->workingStitch = 0x0009;
  EXPECT_EQ(list.GetPart(1)->colour, 4);  // until the dialog is accepted
  list.RestoreOrder();
  EXPECT_EQ(list.GetPart(1)->colour, 11);
  EXPECT_EQ(list.GetPart(1)->stitch, 0x0009);
}

TEST(PartNames, FillTypesByTheLowByte) {
  EXPECT_STREQ(GetFillTypeName(0x2D01), "Diagonal weave");
  EXPECT_STREQ(GetFillTypeLabel(0x2D01), "D");
  EXPECT_STREQ(GetFillTypeName(4), "Satin stitch");
  EXPECT_STREQ(GetFillTypeLabel(4), "STN");
  EXPECT_STREQ(GetFillTypeName(6), "2mm width zigzag");
  EXPECT_STREQ(GetFillTypeLabel(8), "Z5");
  EXPECT_STREQ(GetFillTypeName(9), "Straight stitch");
  EXPECT_EQ(GetFillTypeName(10), nullptr);
  EXPECT_EQ(GetFillTypeLabel(0x090A), nullptr);
}

TEST(PartNames, ThreadLookupsOverTheEightyThreeRowTable) {
  const auto table = design::ExtendedThreadColorTable();
  for (int index : {0, 2, 77, 78, 82}) {
    const design::ThreadColorEntry& row = table[static_cast<std::size_t>(index)];
    EXPECT_EQ(LookupThreadCode(index), row.code);
    EXPECT_EQ(LookupThreadIndex(row.code), index);
    std::string name, shortName, catalogue;
    EXPECT_TRUE(LookupThreadName(row.code, name));
    EXPECT_TRUE(LookupThreadShortName(row.code, shortName));
    EXPECT_TRUE(LookupThreadCatalogue(row.code, catalogue));
    EXPECT_EQ(name, row.name);
    EXPECT_EQ(shortName, row.shortName);
    EXPECT_EQ(catalogue, row.catalogue);
  }
  EXPECT_EQ(LookupThreadCode(-1), 1);
  EXPECT_EQ(LookupThreadCode(83), 1);
  EXPECT_EQ(LookupThreadIndex(200), 0);
  std::string untouched = "kept";
  EXPECT_FALSE(LookupThreadShortName(200, untouched));
  EXPECT_EQ(untouched, "kept");
}

}  // namespace
}  // namespace digitizer
