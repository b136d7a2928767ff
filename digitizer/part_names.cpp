#include "digitizer/part_names.h"

#include <array>

#include "design/thread_colors.h"

namespace digitizer {
namespace {

struct FillTypeNames {
  const char* name;
  const char* label;
};

constexpr std::array<FillTypeNames, kFillTypeCount> kFillTypes = {{
    {"Horizontal weave", "H"},
    {"Diagonal weave", "D"},
    {"Vertical weave", "V"},
    {"Cross stitch", "X"},
    {"Satin stitch", "STN"},
    {"Zigzag stitch", "Z"},
    {"2mm width zigzag", "Z2"},
    {"3mm width zigzag", "Z3"},
    {"5mm width zigzag", "Z5"},
    {"Straight stitch", "S"},
}};

constexpr int kFallbackThreadCode = 1;
constexpr int kFallbackThreadIndex = 0;

const design::ThreadColorEntry* RowByCode(int code) {
  for (const design::ThreadColorEntry& row : design::ExtendedThreadColorTable()) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

}  // namespace

const char* GetFillTypeName(uint16_t stitch) {
  const int type = FillTypeOf(stitch);
  return type < kFillTypeCount ? kFillTypes[static_cast<std::size_t>(type)].name : nullptr;
}

const char* GetFillTypeLabel(uint16_t stitch) {
  const int type = FillTypeOf(stitch);
  return type < kFillTypeCount ? kFillTypes[static_cast<std::size_t>(type)].label : nullptr;
}

bool LookupThreadName(int code, std::string& name) {
  const design::ThreadColorEntry* row = RowByCode(code);
  if (!row) return false;
  name = row->name;
  return true;
}

bool LookupThreadShortName(int code, std::string& shortName) {
  const design::ThreadColorEntry* row = RowByCode(code);
  if (!row) return false;
  shortName = row->shortName;
  return true;
}

bool LookupThreadCatalogue(int code, std::string& catalogue) {
  const design::ThreadColorEntry* row = RowByCode(code);
  if (!row) return false;
  catalogue = row->catalogue;
  return true;
}

int LookupThreadCode(int index) {
  const auto table = design::ExtendedThreadColorTable();
  if (index < 0 || index >= static_cast<int>(table.size())) return kFallbackThreadCode;
  return table[static_cast<std::size_t>(index)].code;
}

int LookupThreadIndex(int code) {
  const design::ThreadColorEntry* row = RowByCode(code);
  return row ? row->index : kFallbackThreadIndex;
}

}  // namespace digitizer
