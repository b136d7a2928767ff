#include "design/thread_colors.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

  for (int code = 91; code <= 95; ++code) {
    EXPECT_EQ(ThreadCodeToRGB(code), kUnknownThreadColor) << code;
    EXPECT_EQ(ThreadCodeToIndex(code), kUnknownThreadIndex) << code;
    const Looked grey = Look(FindThreadColor, kThreadSelectByCode, code);
    EXPECT_EQ(grey.selector, code - 91 + 78);
    EXPECT_EQ(grey.name, "GRAY" + std::to_string(code - 90));
    EXPECT_EQ(grey.catalogue, "000");
  }
  EXPECT_EQ(ThreadCodeToRGB(79), kUnknownThreadColor);
  EXPECT_EQ(GetThreadColor(79), kUnknownThreadColor);
  EXPECT_EQ(ThreadCodeToIndex(99), kUnknownThreadIndex);
}

TEST(ThreadColors, MachineThreadsCarryEachCodeOnceAndACatalogueNumber) {
  const auto table = ThreadColorTable();
  std::set<int> codes;
  for (int i = 0; i < 78; ++i) {
    codes.insert(table[i].code);
    EXPECT_EQ(table[i].index, i);
    EXPECT_EQ(table[i].catalogue.size(), 3u);
    EXPECT_TRUE(table[i].catalogue.find_first_not_of("0123456789") == std::string_view::npos);
    EXPECT_EQ(ThreadCodeToIndex(table[i].code), i);
  }
  EXPECT_EQ(codes.size(), 78u);
  EXPECT_EQ(*codes.begin(), 1);
  EXPECT_EQ(*codes.rbegin(), 78);
}

// The machine's thread chart as the programs list it: index | code | red | green | blue |
// name | short name. Kept here as text, apart from the code's tables, so that a wrong value
// in any row of either shows up.
constexpr std::string_view kThreadChart = R"(
0 | 1 | 0 | 0 | 0 | Black | Black
1 | 50 | 89 | 91 | 97 | Dark gray | Dk gray
2 | 24 | 136 | 155 | 155 | Gray | Gray
3 | 23 | 229 | 229 | 229 | Silver gray | Siv gry
4 | 2 | 255 | 255 | 255 | White | White
5 | 30 | 7 | 22 | 80 | Navy blue | Nvy blu
6 | 12 | 11 | 47 | 132 | Blue | Blue
7 | 7 | 101 | 194 | 200 | Sky | Sky
8 | 48 | 76 | 181 | 143 | Emerald green | Em grn
9 | 25 | 152 | 214 | 189 | Pale aqua | Pale aqa
10 | 41 | 84 | 5 | 113 | Royal purple | Roy pur
11 | 8 | 171 | 90 | 150 | Purple | Purple
12 | 15 | 172 | 156 | 199 | Pale violet | Pale vio
13 | 21 | 160 | 184 | 204 | Pale sky | Pale sky
14 | 26 | 178 | 225 | 227 | Baby blue | Bby blu
15 | 10 | 255 | 0 | 0 | Red | Red
16 | 20 | 151 | 5 | 51 | Wine red | Wine red
17 | 39 | 195 | 0 | 126 | Peony purple | Peo pur
18 | 9 | 246 | 105 | 160 | Pink | Pink
19 | 17 | 249 | 153 | 183 | Pale pink | Pale pnk
20 | 14 | 72 | 26 | 5 | Dark brown | Dk brn
21 | 35 | 181 | 148 | 116 | Umber | Umber
22 | 11 | 177 | 112 | 78 | Brown | Brown
23 | 19 | 201 | 164 | 128 | Beige | Beige
24 | 78 | 227 | 172 | 129 | Bamboo | Bamboo
25 | 4 | 255 | 102 | 0 | Orange | Orange
26 | 34 | 226 | 161 | 136 | Cinnamon | Cinnamon
27 | 18 | 250 | 179 | 129 | Peach | Peach
28 | 13 | 228 | 195 | 93 | Gold | Gold
29 | 16 | 252 | 242 | 148 | Pale yellow | Pale yel
30 | 6 | 35 | 115 | 54 | Green | Green
31 | 5 | 47 | 89 | 51 | Olive green | Olv grn
32 | 45 | 92 | 148 | 26 | Meadow green | Mdw grn
33 | 22 | 127 | 194 | 28 | Yellow green | Yel grn
34 | 3 | 255 | 255 | 23 | Yellow | Yellow
35 | 46 | 0 | 49 | 20 | Dark green | Dark grn
36 | 66 | 76 | 86 | 18 | Olive drab | Olv drab
37 | 44 | 137 | 152 | 86 | Moss green | Moss grn
38 | 43 | 202 | 224 | 192 | Opal green | Opal grn
39 | 58 | 51 | 53 | 10 | Dark sepia | Dk sepia
40 | 57 | 76 | 51 | 11 | Sepia | Sepia
41 | 56 | 77 | 52 | 25 | Sienna | Sienna
42 | 55 | 152 | 105 | 45 | Cocoa brown | Coca brn
43 | 52 | 177 | 88 | 24 | Hazel | Hazel
44 | 53 | 203 | 138 | 7 | Toast | Toast
45 | 69 | 203 | 138 | 26 | Yellow ocher | Yel ochr
46 | 70 | 203 | 162 | 28 | Old gold | Old gold
47 | 36 | 228 | 207 | 153 | Blond | Blond
48 | 51 | 255 | 255 | 242 | Ivory white | Ivry wht
49 | 71 | 255 | 152 | 5 | Honey dew | Hony dew
50 | 72 | 252 | 178 | 87 | Tangerine | Tangerin
51 | 37 | 255 | 203 | 0 | Sunflower | Sunflowr
52 | 73 | 255 | 229 | 5 | Canary yellow | Cnry yel
53 | 68 | 228 | 222 | 121 | Mustard | Mustard
54 | 33 | 227 | 49 | 31 | Burnt orange | Brnt org
55 | 74 | 240 | 51 | 31 | Vermilion | Vrmilion
56 | 32 | 249 | 103 | 107 | Coral | Coral
57 | 31 | 249 | 153 | 162 | Salmon pink | Salmon pnk
58 | 77 | 227 | 196 | 180 | Beige gray | Beig gry
59 | 42 | 177 | 5 | 37 | Cardinal red | Crdn red
60 | 40 | 128 | 0 | 75 | Burgundy | Burgundy
61 | 63 | 243 | 54 | 137 | Crimson | Crimson
62 | 64 | 222 | 100 | 158 | Floral pink | Flrl pnk
63 | 38 | 225 | 173 | 212 | Orchid pink | Orcd pnk
64 | 60 | 13 | 33 | 126 | Blue ink | Blu ink
65 | 59 | 82 | 58 | 151 | Violet blue | Vio blu
66 | 65 | 152 | 65 | 97 | Wine | Wine
67 | 54 | 152 | 108 | 128 | Salmon | Salmon
68 | 47 | 93 | 174 | 148 | Aquamarine | Aquamarn
69 | 76 | 56 | 108 | 174 | Ocean blue | Ocen blu
70 | 61 | 30 | 119 | 172 | Solar blue | Solar blu
71 | 29 | 56 | 106 | 145 | Slate blue | Slate blu
72 | 28 | 79 | 131 | 171 | Bright blue | Brt blu
73 | 27 | 54 | 139 | 160 | Powder blue | Pwdr blu
74 | 49 | 0 | 119 | 114 | Peacock green | Pcok grn
75 | 75 | 26 | 132 | 45 | Bright green | Brt grn
76 | 67 | 76 | 136 | 31 | Meadow | Meadow
77 | 62 | 178 | 221 | 83 | Green dust | Grn dust
78 | 0 | 0 | 0 | 0 | Any | Any
)";
// The five greys that end the 83-row table instead of "Any".
constexpr std::string_view kGreyChart = R"(
78 | 91 | 63 | 63 | 63 | GRAY1 | gray1
79 | 92 | 128 | 128 | 128 | GRAY2 | gray2
80 | 93 | 192 | 192 | 192 | GRAY3 | gray3
81 | 94 | 220 | 220 | 220 | GRAY4 | gray4
82 | 95 | 240 | 240 | 240 | GRAY5 | gray5
)";
// The 83-row table's short names where they differ from the chart.
constexpr std::pair<int, std::string_view> kExtendedShortNames[] = {
    {42, "Cocoa br"}, {49, "Hny dew"}, {52, "Canary y"}, {59, "Crdnl red"}, {68, "Aqmarine"}};

struct ChartRow {
  int index, code, red, green, blue;
  std::string name, shortName;
};

std::vector<ChartRow> ParseChart(std::string_view text) {
  std::vector<ChartRow> rows;
  std::istringstream lines{std::string(text)};
  for (std::string line; std::getline(lines, line);) {
    if (line.empty()) continue;
    std::vector<std::string> cells;
    std::istringstream fields(line);
    for (std::string cell; std::getline(fields, cell, '|');) {
      cell.erase(0, cell.find_first_not_of(' '));
      cell.erase(cell.find_last_not_of(' ') + 1);
      cells.push_back(cell);
    }
    EXPECT_EQ(cells.size(), 7u) << line;
    if (cells.size() != 7) continue;
    rows.push_back({std::stoi(cells[0]), std::stoi(cells[1]), std::stoi(cells[2]), std::stoi(cells[3]),
                    std::stoi(cells[4]), cells[5], cells[6]});
  }
  return rows;
}

uint32_t ChartColour(const ChartRow& row) {
  return 0x02000000u + static_cast<uint32_t>(row.blue) * 65536u + static_cast<uint32_t>(row.green) * 256u +
         static_cast<uint32_t>(row.red);
}

// The row at the chart row's index, as the query gives it out.
template <class Query>
void ExpectRow(Query query, const ChartRow& row) {
  SCOPED_TRACE(row.name);
  const Looked by = Look(query, row.index, -7);
  ASSERT_TRUE(by.found);
  EXPECT_EQ(by.code, row.code);
  EXPECT_EQ(by.colour, ChartColour(row));
  EXPECT_EQ(by.name, row.name);
  EXPECT_EQ(by.shortName, row.shortName);
}

TEST(ThreadColors, EveryRowOfBothTablesHoldsTheChartsValues) {
  const std::vector<ChartRow> chart = ParseChart(kThreadChart);
  const std::vector<ChartRow> greys = ParseChart(kGreyChart);
  ASSERT_EQ(chart.size(), 79u);
  ASSERT_EQ(greys.size(), 5u);
  for (const ChartRow& row : chart) {
    ExpectRow(ThreadColorQuery, row);
    EXPECT_EQ(Look(ThreadColorQuery, kThreadSelectByCode, row.code).selector, row.index) << row.name;
  }
  std::vector<ChartRow> extended(chart.begin(), chart.begin() + 78);
  for (const auto& [index, shortName] : kExtendedShortNames) extended[index].shortName = shortName;
  extended.insert(extended.end(), greys.begin(), greys.end());
  for (const ChartRow& row : extended) {
    ExpectRow(FindThreadColor, row);
    EXPECT_EQ(GetThreadColor(row.code), ChartColour(row)) << row.name;
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
