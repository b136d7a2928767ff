#pragma once

// The lettering engine that each monogram dialog owns: the font list and the current
// font's header, the letters entered, their free, straight-line or arc layout, the preview
// drawing of the letters, and the making of the lettering's stitches and MonogramBlock.
// Preview pixels (0.5 mm, y down) throughout; stitches in 0.1 mm.

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "design/stitch_record.h"
#include "layoutcore/monogram/monogram_layout.h"
#include "layoutcore/monogram/monogram_stitches.h"
#include "layoutcore/monogram_block.h"
#include "platform/canvas.h"

namespace editor {

// What differs between the hoops the lettering is made for.
struct LetteringHoop {
  int32_t previewWidth, previewHeight;  // the glyph bitmap
  EmbroideryArea area;                  // stitch units
  NeedlePoint start;                    // where stitch generation starts
  int32_t hoopKind;                     // for the hoop-fit margins
  int32_t freeRight, freeBottom;        // limits of the free layout
  std::array<MonogramPoint, 3> arcPoints;
  std::array<MonogramPoint, 2> linePoints;
};

extern const LetteringHoop kStandardHoopLettering;
extern const LetteringHoop kLargeHoopLettering;

constexpr int kMaxLetteringCharacters = kMonogramMaxCharacters;
// Twice the running pair total may not reach this: the lettering would not fit its record.
constexpr int32_t kLetteringPairLimit = 123370;
constexpr int32_t kLetteringThreadType = design::kThreadTypeStandard;

inline constexpr const char* kFontExtension = ".mnf";
inline constexpr const char* kAttentionCaption = "Attention";
inline constexpr const char* kErrorCaption = "Error";
inline constexpr const char* kMissingCharacterText = "This font does not contain the character (%c) .";
inline constexpr const char* kInputCharactersText = "Input Charactors.";
inline constexpr const char* kTooManyCharactersText = "Maximum number of characters exceeded(%d).";
inline constexpr const char* kFontFileErrorText = "File error";
inline constexpr const char* kGlyphFileErrorText = "File Error";
inline constexpr const char* kLoadReadFailureText = "File Error.\nCan not make stitch view image.";
inline constexpr const char* kLoadNoMemoryText =
    "There is not enough memory to make stitch view image.\nCan not make stitch view image.";
inline constexpr const char* kLoadOverLimitText = "Stitch data buffer full.\n Can not make stitch view image.";
inline constexpr const char* kLoadOtherText = "Can not make stitch view image.";
inline constexpr const char* kStitchErrorText =
    "Stitch error\nCannot make stitch.\nStitches are out of embroidery area.";

enum class LoadResult { kOk = 0, kReadFailure = 1, kNoMemory = 2, kOverLimit = 3 };

enum class BuildOutcome {
  kBuilt,       // the letters were made (perhaps fewer, after a load failure)
  kEmpty,       // "Input Charactors.": the edit gets the focus
  kTooLong,     // the edit's text is selected
  kSpacesOnly,  // nothing happens
};

struct BuildResult {
  BuildOutcome outcome = BuildOutcome::kEmpty;
  std::string cleanedText;  // the edit shows it
};

class MonogramEngine {
 public:
  explicit MonogramEngine(const LetteringHoop& hoop);

  const LetteringHoop& Hoop() const { return hoop_; }

  // ---- fonts ----
  void SetFonts(std::filesystem::path folder, std::vector<std::string> names);
  const std::vector<std::string>& FontNames() const { return fontNames_; }
  std::filesystem::path FontPath(int index) const;
  // Reads the current font's header. A file that cannot be opened changes nothing; a short
  // or unreasonable one shows "File error" and changes nothing. True when read.
  bool LoadFontHeader();
  const MonogramFontHeader& Header() const { return header_; }

  // ---- lettering state ----
  LetteringMode mode = LetteringMode::kFree;
  int32_t fontIndex = 0;
  int32_t spacingIndex = 1;
  int32_t threadCode = 1;
  std::string text;
  std::array<MonogramPoint, 3> arcPoints;
  std::array<MonogramPoint, 2> linePoints;
  int32_t stitchTotal = 0;

  // Text order: the first character first (the most recently added last).
  std::vector<MonogramGlyph>& Glyphs() { return glyphs_; }
  const std::vector<MonogramGlyph>& Glyphs() const { return glyphs_; }
  void ClearGlyphs() { glyphs_.clear(); }

  // Reads the glyph's record, measures it and adds its pairs to the running total.
  LoadResult LoadCharacter(MonogramGlyph& glyph);

  // Builds the letters of a typed text for the layout mode, with the messages of a refusal.
  BuildResult Build(const std::string& typed, LetteringMode layout);
  // Rebuilds free letters from a stored lettering.
  void RestoreFreeGlyphs(const MonogramBlock& block);

  // Puts line and arc letters on their path for the control points.
  ArcLayout PlaceOnPath();

  // Draws each letter (no spaces) in pen and refreshes its rectangle from what was drawn.
  void DrawGlyphs(platform::Canvas& canvas, platform::PaletteColour pen);

  // Makes the lettering's stitches into record and its block into block. On failure shows
  // the stitch error and returns false; the record may hold a part.
  bool MakeStitches(design::StitchRecord& record, MonogramBlock& block);

  // The two halves of making a lettering, for records of other layouts: the block of the
  // letters as laid out now (line and arc letters put on their path first), and the
  // letters' jumps and stitches written into area from start. EncodeLetters writes no end
  // pair and shows nothing; false when a stitch leaves the hoop's area or the lettering
  // grows too long. written is the byte count either way.
  void FillBlock(MonogramBlock& block);
  bool EncodeLetters(std::span<uint8_t> area, NeedlePoint start, std::size_t& written) const;

 private:
  void LayoutFree(const std::string& letters);
  void LayoutAlongPath(const std::string& letters);
  // Loads a new glyph for c; false (with the message shown) stops the building.
  bool AddGlyph(MonogramGlyph glyph);
  std::vector<std::size_t> StitchedGlyphs() const;
  std::vector<std::size_t> BlockGlyphs() const;

  const LetteringHoop& hoop_;
  std::filesystem::path fontFolder_;
  std::vector<std::string> fontNames_;
  MonogramFontHeader header_;
  std::vector<MonogramGlyph> glyphs_;
};

// Shows one of the load messages for a result.
void ShowLoadFailure(LoadResult result);
// Shows "Stitch error..." (the lettering leaves the embroidery area).
void ShowStitchError();

}  // namespace editor
