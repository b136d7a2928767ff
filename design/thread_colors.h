#pragma once

// The machine's thread colours. A design names its colours by thread code (the code table of
// the QNF header); everything that shows a design or lets the user pick a colour turns codes
// into colours and names through one of two compiled-in tables:
//   - the 79-row table (78 machine threads and "Any"), behind ThreadColorQuery: the editor's
//     views, palette, monogram colours, printing and the import preview;
//   - the 83-row table (the 78 machine threads and five greys), behind FindThreadColor: the
//     card manager's preview and the picture digitizer.
//
// Colours leave the tables palette-relative: 0x02BBGGRR. 0x02000000 (palette-relative black)
// also stands for an unknown code. Turning such a value into a screen colour happens in one
// place, in the drawing layer.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/canvas.h"

namespace design {

struct ThreadColorEntry {
  int32_t index = 0;            // row number, equal to the position in its table
  int32_t code = 0;             // machine thread code: 1..78, 0 for "Any", 91..95 for the greys
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  std::string_view name;        // long colour name
  std::string_view shortName;   // at most 10 characters, for narrow places
  std::string_view catalogue;   // three characters: catalogue number, "Non" for "Any", "000" for greys
};

// Colours leave the tables palette-relative; the one rule for that lives with the canvas.
using platform::kPaletteRelativeFlag;
// What every lookup answers for a code or index it does not know.
constexpr uint32_t kUnknownThreadColor = kPaletteRelativeFlag;

constexpr uint32_t PaletteRelativeRgb(uint8_t red, uint8_t green, uint8_t blue) {
  return platform::PaletteRgb(red, green, blue);
}

constexpr int kThreadRowCount = 79;          // 78 machine threads, then "Any"
constexpr int kExtendedThreadRowCount = 83;  // 78 machine threads, then five greys
constexpr int kAnyThreadIndex = 78;
// The selector that asks a query to find the row by thread code.
constexpr int kThreadSelectByCode = -2;
// What ThreadCodeToIndex answers for a code no row carries.
constexpr int kUnknownThreadIndex = -2;

// The two tables, rows in the order the programs list them.
std::span<const ThreadColorEntry, kThreadRowCount> ThreadColorTable();
std::span<const ThreadColorEntry, kExtendedThreadRowCount> ExtendedThreadColorTable();

// Looks up one row of the 79-row table. A selector 0..78 picks the row by index; the selector
// kThreadSelectByCode finds the first row carrying `code` and sets the selector to its index.
// On success fills code, palette-relative colour and the three texts and returns true; any
// other selector, or a code no row carries, returns false and changes nothing.
bool ThreadColorQuery(int& selector, int& code, uint32_t& colour, std::string& name,
                      std::string& shortName, std::string& catalogue);
// The same over the 83-row table (indexes 0..82).
bool FindThreadColor(int& selector, int& code, uint32_t& colour, std::string& name,
                     std::string& shortName, std::string& catalogue);

// Wrappers over the 79-row table; an index is accepted only in 0..78.
void ThreadColorInfo(int index, uint8_t& red, uint8_t& green, uint8_t& blue);  // 0, 0, 0 unknown
uint32_t ThreadCodeToRGB(int code);            // kUnknownThreadColor when unknown
int ThreadCodeToIndex(int code);               // kUnknownThreadIndex when unknown
int ThreadIndexToCode(int index);              // 0 outside 0..78
uint32_t ThreadIndexToRGB(int index);          // kUnknownThreadColor outside 0..78
bool ThreadIndexToName(int index, std::string& name);            // unchanged when not found
bool ThreadIndexToShortName(int index, std::string& shortName);  // unchanged when not found

// ThreadCodeToRGB over the 83-row table: what the card manager's preview draws with.
uint32_t GetThreadColor(int code);

}  // namespace design
