#include "design/thread_colors.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using namespace design;

struct Looked {
  bool found;
  int selector;
  int code;
  uint32_t colour;
  std::string name, shortName, catalogue;
};

template <class Query>
Looked Look(Query query, int selector, int code) {
  Looked r{false, selector, code, 0xDEADBEEF, "n", "s", "c"};
  r.found = query(r.selector, r.code, r.colour, r.name, r.shortName, r.catalogue);
  return r;
}

TEST(ThreadColors, LookupByCodeGivesTheRowAndAPaletteRelativeColour) {
  const Looked black = Look(ThreadColorQuery, kThreadSelectByCode, 1);
  ASSERT_TRUE(black.found);
  EXPECT_EQ(black.selector, 0);
  EXPECT_EQ(black.name, "Black");
  EXPECT_EQ(black.colour, 0x02000000u);

  const Looked bamboo = Look(ThreadColorQuery, kThreadSelectByCode, 78);
  ASSERT_TRUE(bamboo.found);
  EXPECT_EQ(bamboo.selector, 24);
  EXPECT_EQ(bamboo.name, "Bamboo");
  EXPECT_EQ(bamboo.colour, 0x0281ACE3u);

  EXPECT_EQ(ThreadCodeToRGB(2), 0x02FFFFFFu);  // White
  EXPECT_EQ(ThreadCodeToIndex(2), 4);
  EXPECT_EQ(ThreadCodeToRGB(10), 0x020000FFu);  // Red: red in the low byte
}

TEST(ThreadColors, AnyRowAndGreysBelongToOneTableEach) {
  const Looked any = Look(ThreadColorQuery, kThreadSelectByCode, 0);
  ASSERT_TRUE(any.found);
  EXPECT_EQ(any.selector, kAnyThreadIndex);
  EXPECT_EQ(any.name, "Any");
  EXPECT_EQ(any.catalogue, "Non");
  EXPECT_FALSE(Look(FindThreadColor, kThreadSelectByCode, 0).found);
  EXPECT_EQ(GetThreadColor(0), kUnknownThreadColor);

  const uint32_t greys[] = {0x023F3F3F, 0x02808080, 0x02C0C0C0, 0x02DCDCDC, 0x02F0F0F0};
  for (int code = 91; code <= 95; ++code) {
    EXPECT_EQ(ThreadCodeToRGB(code), kUnknownThreadColor) << code;
    EXPECT_EQ(ThreadCodeToIndex(code), kUnknownThreadIndex) << code;
    EXPECT_EQ(GetThreadColor(code), greys[code - 91]) << code;
    const Looked grey = Look(FindThreadColor, kThreadSelectByCode, code);
    EXPECT_EQ(grey.selector, code - 91 + 78);
    EXPECT_EQ(grey.name, "GRAY" + std::to_string(code - 90));
    EXPECT_EQ(grey.catalogue, "000");
  }
  EXPECT_EQ(ThreadCodeToRGB(79), kUnknownThreadColor);
  EXPECT_EQ(GetThreadColor(79), kUnknownThreadColor);
  EXPECT_EQ(ThreadCodeToIndex(99), kUnknownThreadIndex);
}

TEST(ThreadColors, MachineThreadsCarryEachCodeOnceAndShareRowsAcrossTables) {
  const auto table = ThreadColorTable();
  const auto extended = ExtendedThreadColorTable();
  std::set<int> codes;
  for (int i = 0; i < 78; ++i) {
    codes.insert(table[i].code);
    EXPECT_EQ(table[i].index, i);
    EXPECT_EQ(table[i].catalogue.size(), 3u);
    EXPECT_TRUE(table[i].catalogue.find_first_not_of("0123456789") == std::string_view::npos);
    EXPECT_EQ(extended[i].code, table[i].code);
    EXPECT_EQ(extended[i].name, table[i].name);
    EXPECT_EQ(PaletteRelativeRgb(extended[i].red, extended[i].green, extended[i].blue),
              PaletteRelativeRgb(table[i].red, table[i].green, table[i].blue));
    EXPECT_EQ(ThreadCodeToIndex(table[i].code), i);
  }
  EXPECT_EQ(codes.size(), 78u);
  EXPECT_EQ(*codes.begin(), 1);
  EXPECT_EQ(*codes.rbegin(), 78);

  // Five short names differ in the 83-row table; the rest are the same.
  const std::pair<int, const char*> differing[] = {
      {42, "Cocoa br"}, {49, "Hny dew"}, {52, "Canary y"}, {59, "Crdnl red"}, {68, "Aqmarine"}};
  int different = 0;
  for (int i = 0; i < 78; ++i) different += table[i].shortName != extended[i].shortName;
  EXPECT_EQ(different, 5);
  for (const auto& [index, shortName] : differing) EXPECT_EQ(extended[index].shortName, shortName);
  EXPECT_EQ(table[42].shortName, "Coca brn");
  EXPECT_EQ(table[57].shortName, "Salmon pnk");
}

TEST(ThreadColors, SpotRowsHoldTheirExactValues) {
  struct Row { int index, code; uint32_t colour; const char* name; const char* shortName; };
  const Row rows[] = {
      {1, 50, 0x02615B59, "Dark gray", "Dk gray"},
      {16, 20, 0x02330597, "Wine red", "Wine red"},
      {45, 69, 0x021A8ACB, "Yellow ocher", "Yel ochr"},
      {70, 61, 0x02AC771E, "Solar blue", "Solar blu"},
      {77, 62, 0x0253DDB2, "Green dust", "Grn dust"},
  };
  for (const Row& row : rows) {
    const Looked by = Look(ThreadColorQuery, row.index, -7);
    ASSERT_TRUE(by.found);
    EXPECT_EQ(by.selector, row.index);
    EXPECT_EQ(by.code, row.code);
    EXPECT_EQ(by.colour, row.colour);
    EXPECT_EQ(by.name, row.name);
    EXPECT_EQ(by.shortName, row.shortName);
    EXPECT_EQ(ThreadIndexToRGB(row.index), row.colour);
    EXPECT_EQ(ThreadIndexToCode(row.index), row.code);
  }
}

TEST(ThreadColors, EveryColourLeavesPaletteRelative) {
  for (const auto& row : ThreadColorTable()) {
    EXPECT_EQ(ThreadIndexToRGB(row.index) & 0xFF000000u, kPaletteRelativeFlag);
  }
  for (const auto& row : ExtendedThreadColorTable()) {
    EXPECT_EQ(GetThreadColor(row.code) & 0xFF000000u, kPaletteRelativeFlag);
  }
}

TEST(ThreadColors, BadSelectorsChangeNothing) {
  for (int selector : {-1, -3, 79, 1000}) {
    const Looked r = Look(ThreadColorQuery, selector, 5);
    EXPECT_FALSE(r.found);
    EXPECT_EQ(r.selector, selector);
    EXPECT_EQ(r.code, 5);
    EXPECT_EQ(r.colour, 0xDEADBEEFu);
    EXPECT_EQ(r.name, "n");
  }
  EXPECT_TRUE(Look(FindThreadColor, 82, 0).found);
  EXPECT_FALSE(Look(FindThreadColor, 83, 0).found);
  EXPECT_FALSE(Look(ThreadColorQuery, kThreadSelectByCode, 79).found);
}

TEST(ThreadColors, IndexWrappersAcceptOnly0To78) {
  EXPECT_EQ(ThreadIndexToRGB(79), kUnknownThreadColor);
  EXPECT_EQ(ThreadIndexToCode(78), 0);
  EXPECT_EQ(ThreadIndexToCode(79), 0);
  EXPECT_EQ(ThreadIndexToCode(4), 2);

  std::string name = "keep";
  // The by-code selector is not an index: -2 must not reach the "Any" row.
  EXPECT_FALSE(ThreadIndexToName(kThreadSelectByCode, name));
  EXPECT_FALSE(ThreadIndexToShortName(79, name));
  EXPECT_EQ(name, "keep");
  EXPECT_TRUE(ThreadIndexToName(78, name));
  EXPECT_EQ(name, "Any");
  EXPECT_TRUE(ThreadIndexToShortName(5, name));
  EXPECT_EQ(name, "Nvy blu");

  uint8_t r = 1, g = 1, b = 1;
  ThreadColorInfo(25, r, g, b);  // Orange
  EXPECT_EQ((std::array<int, 3>{r, g, b}), (std::array<int, 3>{255, 102, 0}));
  ThreadColorInfo(-2, r, g, b);
  EXPECT_EQ((std::array<int, 3>{r, g, b}), (std::array<int, 3>{0, 0, 0}));
}

}  // namespace
