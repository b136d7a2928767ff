#include "design/thread_colors.h"

namespace design {

namespace {

using Table = std::array<ThreadColorEntry, kThreadRowCount>;
using ExtendedTable = std::array<ThreadColorEntry, kExtendedThreadRowCount>;

// index, code, red, green, blue, name, short name, catalogue number.
constexpr Table kThreadColors{{
    {0, 1, 0, 0, 0, "Black", "Black", "101"},
    {1, 50, 89, 91, 97, "Dark gray", "Dk gray", "102"},
    {2, 24, 136, 155, 155, "Gray", "Gray", "103"},
    {3, 23, 229, 229, 229, "Silver gray", "Siv gry", "104"},
    {4, 2, 255, 255, 255, "White", "White", "105"},
    {5, 30, 7, 22, 80, "Navy blue", "Nvy blu", "106"},
    {6, 12, 11, 47, 132, "Blue", "Blue", "107"},
    {7, 7, 101, 194, 200, "Sky", "Sky", "108"},
    {8, 48, 76, 181, 143, "Emerald green", "Em grn", "109"},
    {9, 25, 152, 214, 189, "Pale aqua", "Pale aqa", "110"},
    {10, 41, 84, 5, 113, "Royal purple", "Roy pur", "111"},
    {11, 8, 171, 90, 150, "Purple", "Purple", "112"},
    {12, 15, 172, 156, 199, "Pale violet", "Pale vio", "113"},
    {13, 21, 160, 184, 204, "Pale sky", "Pale sky", "114"},
    {14, 26, 178, 225, 227, "Baby blue", "Bby blu", "115"},
    {15, 10, 255, 0, 0, "Red", "Red", "116"},
    {16, 20, 151, 5, 51, "Wine red", "Wine red", "117"},
    {17, 39, 195, 0, 126, "Peony purple", "Peo pur", "118"},
    {18, 9, 246, 105, 160, "Pink", "Pink", "119"},
    {19, 17, 249, 153, 183, "Pale pink", "Pale pnk", "120"},
    {20, 14, 72, 26, 5, "Dark brown", "Dk brn", "121"},
    {21, 35, 181, 148, 116, "Umber", "Umber", "122"},
    {22, 11, 177, 112, 78, "Brown", "Brown", "123"},
    {23, 19, 201, 164, 128, "Beige", "Beige", "124"},
    {24, 78, 227, 172, 129, "Bamboo", "Bamboo", "125"},
    {25, 4, 255, 102, 0, "Orange", "Orange", "126"},
    {26, 34, 226, 161, 136, "Cinnamon", "Cinnamon", "127"},
    {27, 18, 250, 179, 129, "Peach", "Peach", "128"},
    {28, 13, 228, 195, 93, "Gold", "Gold", "129"},
    {29, 16, 252, 242, 148, "Pale yellow", "Pale yel", "130"},
    {30, 6, 35, 115, 54, "Green", "Green", "131"},
    {31, 5, 47, 89, 51, "Olive green", "Olv grn", "132"},
    {32, 45, 92, 148, 26, "Meadow green", "Mdw grn", "133"},
    {33, 22, 127, 194, 28, "Yellow green", "Yel grn", "134"},
    {34, 3, 255, 255, 23, "Yellow", "Yellow", "135"},
    {35, 46, 0, 49, 20, "Dark green", "Dark grn", "136"},
    {36, 66, 76, 86, 18, "Olive drab", "Olv drab", "137"},
    {37, 44, 137, 152, 86, "Moss green", "Moss grn", "138"},
    {38, 43, 202, 224, 192, "Opal green", "Opal grn", "139"},
    {39, 58, 51, 53, 10, "Dark sepia", "Dk sepia", "140"},
    {40, 57, 76, 51, 11, "Sepia", "Sepia", "141"},
    {41, 56, 77, 52, 25, "Sienna", "Sienna", "142"},
    {42, 55, 152, 105, 45, "Cocoa brown", "Coca brn", "143"},
    {43, 52, 177, 88, 24, "Hazel", "Hazel", "144"},
    {44, 53, 203, 138, 7, "Toast", "Toast", "145"},
    {45, 69, 203, 138, 26, "Yellow ocher", "Yel ochr", "146"},
    {46, 70, 203, 162, 28, "Old gold", "Old gold", "147"},
    {47, 36, 228, 207, 153, "Blond", "Blond", "148"},
    {48, 51, 255, 255, 242, "Ivory white", "Ivry wht", "149"},
    {49, 71, 255, 152, 5, "Honey dew", "Hony dew", "150"},
    {50, 72, 252, 178, 87, "Tangerine", "Tangerin", "151"},
    {51, 37, 255, 203, 0, "Sunflower", "Sunflowr", "152"},
    {52, 73, 255, 229, 5, "Canary yellow", "Cnry yel", "153"},
    {53, 68, 228, 222, 121, "Mustard", "Mustard", "154"},
    {54, 33, 227, 49, 31, "Burnt orange", "Brnt org", "155"},
    {55, 74, 240, 51, 31, "Vermilion", "Vrmilion", "156"},
    {56, 32, 249, 103, 107, "Coral", "Coral", "157"},
    {57, 31, 249, 153, 162, "Salmon pink", "Salmon pnk", "158"},
    {58, 77, 227, 196, 180, "Beige gray", "Beig gry", "159"},
    {59, 42, 177, 5, 37, "Cardinal red", "Crdn red", "160"},
    {60, 40, 128, 0, 75, "Burgundy", "Burgundy", "161"},
    {61, 63, 243, 54, 137, "Crimson", "Crimson", "162"},
    {62, 64, 222, 100, 158, "Floral pink", "Flrl pnk", "163"},
    {63, 38, 225, 173, 212, "Orchid pink", "Orcd pnk", "164"},
    {64, 60, 13, 33, 126, "Blue ink", "Blu ink", "165"},
    {65, 59, 82, 58, 151, "Violet blue", "Vio blu", "166"},
    {66, 65, 152, 65, 97, "Wine", "Wine", "167"},
    {67, 54, 152, 108, 128, "Salmon", "Salmon", "168"},
    {68, 47, 93, 174, 148, "Aquamarine", "Aquamarn", "169"},
    {69, 76, 56, 108, 174, "Ocean blue", "Ocen blu", "170"},
    {70, 61, 30, 119, 172, "Solar blue", "Solar blu", "171"},
    {71, 29, 56, 106, 145, "Slate blue", "Slate blu", "172"},
    {72, 28, 79, 131, 171, "Bright blue", "Brt blu", "173"},
    {73, 27, 54, 139, 160, "Powder blue", "Pwdr blu", "174"},
    {74, 49, 0, 119, 114, "Peacock green", "Pcok grn", "175"},
    {75, 75, 26, 132, 45, "Bright green", "Brt grn", "176"},
    {76, 67, 76, 136, 31, "Meadow", "Meadow", "177"},
    {77, 62, 178, 221, 83, "Green dust", "Grn dust", "178"},
    {78, 0, 0, 0, 0, "Any", "Any", "Non"},
}};

// The 83-row table shares the 78 machine-thread rows; five of them carry another short name
// there, and the greys stand where the "Any" row is in the other table.
struct ShortNameOverride {
  int index;
  std::string_view shortName;
};
constexpr ShortNameOverride kExtendedShortNames[] = {
    {42, "Cocoa br"}, {49, "Hny dew"}, {52, "Canary y"}, {59, "Crdnl red"}, {68, "Aqmarine"},
};
constexpr ThreadColorEntry kGreys[] = {
    {78, 91, 63, 63, 63, "GRAY1", "gray1", "000"},
    {79, 92, 128, 128, 128, "GRAY2", "gray2", "000"},
    {80, 93, 192, 192, 192, "GRAY3", "gray3", "000"},
    {81, 94, 220, 220, 220, "GRAY4", "gray4", "000"},
    {82, 95, 240, 240, 240, "GRAY5", "gray5", "000"},
};

constexpr ExtendedTable MakeExtendedTable() {
  ExtendedTable table{};
  for (int i = 0; i < kAnyThreadIndex; ++i) table[i] = kThreadColors[i];
  for (const ShortNameOverride& o : kExtendedShortNames) table[o.index].shortName = o.shortName;
  for (int i = 0; i < 5; ++i) table[kAnyThreadIndex + i] = kGreys[i];
  return table;
}
constexpr ExtendedTable kExtendedThreadColors = MakeExtendedTable();

template <std::size_t N>
constexpr bool RowsAreNumbered(const std::array<ThreadColorEntry, N>& table) {
  for (std::size_t i = 0; i < N; ++i) {
    if (table[i].index != static_cast<int32_t>(i) || table[i].shortName.size() > 10 ||
        table[i].catalogue.size() != 3) {
      return false;
    }
  }
  return true;
}
static_assert(RowsAreNumbered(kThreadColors));
static_assert(RowsAreNumbered(kExtendedThreadColors));

// Index 0..size-1 picks a row; kThreadSelectByCode takes the first row carrying the code.
const ThreadColorEntry* FindRow(std::span<const ThreadColorEntry> table, int selector, int code) {
  if (selector >= 0 && static_cast<std::size_t>(selector) < table.size()) return &table[selector];
  if (selector != kThreadSelectByCode) return nullptr;
  for (const ThreadColorEntry& row : table) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

uint32_t RowColour(const ThreadColorEntry& row) {
  return PaletteRelativeRgb(row.red, row.green, row.blue);
}

bool Query(std::span<const ThreadColorEntry> table, int& selector, int& code, uint32_t& colour,
           std::string& name, std::string& shortName, std::string& catalogue) {
  const ThreadColorEntry* row = FindRow(table, selector, code);
  if (row == nullptr) return false;
  selector = row->index;
  code = row->code;
  colour = RowColour(*row);
  name = row->name;
  shortName = row->shortName;
  catalogue = row->catalogue;
  return true;
}

// The index wrappers take only 0..78: never the by-code selector.
const ThreadColorEntry* RowByIndex(int index) {
  return index >= 0 && index < kThreadRowCount ? &kThreadColors[index] : nullptr;
}
const ThreadColorEntry* RowByCode(std::span<const ThreadColorEntry> table, int code) {
  return FindRow(table, kThreadSelectByCode, code);
}

}  // namespace

std::span<const ThreadColorEntry, kThreadRowCount> ThreadColorTable() { return kThreadColors; }

std::span<const ThreadColorEntry, kExtendedThreadRowCount> ExtendedThreadColorTable() {
  return kExtendedThreadColors;
}

bool ThreadColorQuery(int& selector, int& code, uint32_t& colour, std::string& name,
                      std::string& shortName, std::string& catalogue) {
  return Query(kThreadColors, selector, code, colour, name, shortName, catalogue);
}

bool FindThreadColor(int& selector, int& code, uint32_t& colour, std::string& name,
                     std::string& shortName, std::string& catalogue) {
  return Query(kExtendedThreadColors, selector, code, colour, name, shortName, catalogue);
}

void ThreadColorInfo(int index, uint8_t& red, uint8_t& green, uint8_t& blue) {
  const ThreadColorEntry* row = RowByIndex(index);
  red = row ? row->red : 0;
  green = row ? row->green : 0;
  blue = row ? row->blue : 0;
}

uint32_t ThreadCodeToRGB(int code) {
  const ThreadColorEntry* row = RowByCode(kThreadColors, code);
  return row ? RowColour(*row) : kUnknownThreadColor;
}

int ThreadCodeToIndex(int code) {
  const ThreadColorEntry* row = RowByCode(kThreadColors, code);
  return row ? row->index : kUnknownThreadIndex;
}

int ThreadIndexToCode(int index) {
  const ThreadColorEntry* row = RowByIndex(index);
  return row ? row->code : 0;
}

uint32_t ThreadIndexToRGB(int index) {
  const ThreadColorEntry* row = RowByIndex(index);
  return row ? RowColour(*row) : kUnknownThreadColor;
}

bool ThreadIndexToName(int index, std::string& name) {
  const ThreadColorEntry* row = RowByIndex(index);
  if (row == nullptr) return false;
  name = row->name;
  return true;
}

bool ThreadIndexToShortName(int index, std::string& shortName) {
  const ThreadColorEntry* row = RowByIndex(index);
  if (row == nullptr) return false;
  shortName = row->shortName;
  return true;
}

uint32_t GetThreadColor(int code) {
  const ThreadColorEntry* row = RowByCode(kExtendedThreadColors, code);
  return row ? RowColour(*row) : kUnknownThreadColor;
}

}  // namespace design
