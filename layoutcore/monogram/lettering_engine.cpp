#include "layoutcore/monogram/lettering_engine.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>

#include "design/qnf_exporter.h"
#include "design/stitch_encoder.h"
#include "platform/message_box.h"

namespace editor {

const LetteringHoop kStandardHoopLettering{
    221, 221, {1100, 1100}, {550, 550}, 0, 220, 220,
    {{{40, 110}, {110, 110}, {181, 110}}}, {{{40, 110}, {181, 110}}}};
const LetteringHoop kLargeHoopLettering{
    281, 401, {1400, 2000}, {700, 1000}, 2, 280, 400,
    {{{40, 200}, {140, 200}, {240, 200}}}, {{{40, 200}, {240, 200}}}};

namespace {

// The first letter of a free row starts this far in, and the first row no higher than this.
constexpr int32_t kFreeRowStartX = 10;
constexpr int32_t kFreeFirstRowMinimum = 70;
constexpr int32_t kFreeFirstRowUnitAbove = 69;
// Stitch data: the offset of the first stitch in a record of one colour, and its flags.
constexpr int32_t kOneColourStitchOffset = 116 + 8;
constexpr int32_t kLetteringFlags = 1;

std::string Format(const char* pattern, int value) {
  char text[160];
  std::snprintf(text, sizeof text, pattern, value);
  return text;
}

}  // namespace

void ShowLoadFailure(LoadResult result) {
  const char* text = kLoadOtherText;
  switch (result) {
    case LoadResult::kReadFailure: text = kLoadReadFailureText; break;
    case LoadResult::kNoMemory: text = kLoadNoMemoryText; break;
    case LoadResult::kOverLimit: text = kLoadOverLimitText; break;
    case LoadResult::kOk: return;
  }
  platform::MessageBox(nullptr, text, kErrorCaption, platform::kMbOk | platform::kMbIconError);
}

MonogramEngine::MonogramEngine(const LetteringHoop& hoop)
    : arcPoints(hoop.arcPoints), linePoints(hoop.linePoints), hoop_(hoop) {}

void MonogramEngine::SetFonts(std::filesystem::path folder, std::vector<std::string> names) {
  fontFolder_ = std::move(folder);
  fontNames_ = std::move(names);
}

std::filesystem::path MonogramEngine::FontPath(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= fontNames_.size()) return {};
  const std::filesystem::path found = FindMonogramFontFile(fontFolder_, fontNames_[static_cast<std::size_t>(index)]);
  // A font that vanished since it was listed: the usual name, which then fails to open.
  return found.empty() ? fontFolder_ / (fontNames_[static_cast<std::size_t>(index)] + kFontExtension) : found;
}

bool MonogramEngine::LoadFontHeader() {
  const std::filesystem::path path = FontPath(fontIndex);
  if (path.empty()) return false;
  const FontHeaderResult read = ReadMonogramFontHeader(path);
  if (read.status == FontReadStatus::kCannotOpen) return false;
  if (read.status == FontReadStatus::kMalformed) {
    platform::MessageBox(nullptr, kFontFileErrorText, kErrorCaption, platform::kMbOk);
    return false;
  }
  header_ = read.header;
  return true;
}

LoadResult MonogramEngine::LoadCharacter(MonogramGlyph& glyph) {
  const int32_t offset = header_.GlyphOffset(glyph.character);
  if (offset != kNoGlyph) {
    GlyphReadResult read;
    try {
      read = ReadGlyphRecord(FontPath(glyph.font), offset);
    } catch (const std::bad_alloc&) {
      return LoadResult::kNoMemory;
    }
    if (read.status != GlyphReadStatus::kOk) return LoadResult::kReadFailure;
    glyph.record = std::move(read.record);
  }
  MeasureCharacter(glyph, header_.lineUnit);
  stitchTotal += glyph.record.PairTotal();
  if (2 * int64_t{stitchTotal} >= kLetteringPairLimit) return LoadResult::kOverLimit;
  return LoadResult::kOk;
}

bool MonogramEngine::AddGlyph(MonogramGlyph glyph) {
  const LoadResult result = LoadCharacter(glyph);
  if (result != LoadResult::kOk) {
    ShowLoadFailure(result);
    return false;
  }
  glyphs_.push_back(std::move(glyph));
  return true;
}

BuildResult MonogramEngine::Build(const std::string& typed, LetteringMode layout) {
  BuildResult result;
  LoadFontHeader();
  for (char c : typed) {
    const auto u = static_cast<unsigned char>(c);
    if (c != ' ' && !header_.HasGlyph(u)) {
      char message[80];
      std::snprintf(message, sizeof message, kMissingCharacterText, c);
      platform::MessageBox(nullptr, message, kAttentionCaption, platform::kMbOk | platform::kMbIconExclamation);
      continue;
    }
    result.cleanedText.push_back(c);
  }
  const std::string& letters = result.cleanedText;
  if (letters.empty()) {
    platform::MessageBox(nullptr, kInputCharactersText, kAttentionCaption, platform::kMbOk);
    result.outcome = BuildOutcome::kEmpty;
    return result;
  }
  if (letters.size() > static_cast<std::size_t>(kMaxLetteringCharacters)) {
    platform::MessageBox(nullptr, Format(kTooManyCharactersText, kMaxLetteringCharacters), kAttentionCaption,
                         platform::kMbOk);
    result.outcome = BuildOutcome::kTooLong;
    return result;
  }
  if (letters.find_first_not_of(' ') == std::string::npos) {
    result.outcome = BuildOutcome::kSpacesOnly;
    return result;
  }
  text = letters;
  glyphs_.clear();
  stitchTotal = 0;
  if (layout == LetteringMode::kFree) {
    LayoutFree(letters);
  } else {
    LayoutAlongPath(letters);
  }
  mode = layout;
  result.outcome = BuildOutcome::kBuilt;
  return result;
}

void MonogramEngine::LayoutFree(const std::string& letters) {
  const int32_t gap = header_.gaps[static_cast<std::size_t>(std::clamp(spacingIndex, 0, kSpacingCount - 1))];
  const int32_t unit = header_.lineUnit;
  int32_t x = kFreeRowStartX;
  int32_t y = unit > kFreeFirstRowUnitAbove ? unit : kFreeFirstRowMinimum;
  auto wrap = [&] {
    x = kFreeRowStartX;
    y += unit;
    if (y > hoop_.freeBottom) y = unit;
  };
  for (char c : letters) {
    if (c == ' ') {
      x += gap + unit / 2;
      if (x + gap + kFreeRowStartX > hoop_.freeRight) wrap();
      continue;
    }
    MonogramGlyph glyph;
    glyph.character = static_cast<uint8_t>(c);
    glyph.font = fontIndex;
    const LoadResult result = LoadCharacter(glyph);
    if (result != LoadResult::kOk) {
      ShowLoadFailure(result);
      return;
    }
    if (x + glyph.width > hoop_.freeRight) wrap();
    glyph.origin = {x, y};
    glyph.rect = {glyph.rect.left + x, glyph.rect.top + y, glyph.rect.right + x, glyph.rect.bottom + y};
    glyph.centre = {(glyph.rect.left + glyph.rect.right) / 2, (glyph.rect.top + glyph.rect.bottom) / 2};
    glyph.offset = {glyph.origin.x - glyph.centre.x, glyph.origin.y - glyph.centre.y};
    x += gap + glyph.width;
    if (x + glyph.width > hoop_.freeRight) wrap();
    glyphs_.push_back(std::move(glyph));
  }
}

void MonogramEngine::LayoutAlongPath(const std::string& letters) {
  for (char c : letters) {
    MonogramGlyph glyph;
    glyph.character = static_cast<uint8_t>(c);
    glyph.font = fontIndex;
    const LoadResult result = LoadCharacter(glyph);
    if (result != LoadResult::kOk) {
      ShowLoadFailure(result);
      return;
    }
    glyph.centre = {(glyph.rect.left + glyph.rect.right) / 2, (glyph.rect.top + glyph.rect.bottom) / 2};
    glyph.offset = {glyph.origin.x - glyph.centre.x, glyph.origin.y - glyph.centre.y};
    glyph.advanceWidth = glyph.width;
    glyphs_.push_back(std::move(glyph));
  }
}

void MonogramEngine::RestoreFreeGlyphs(const MonogramBlock& block) {
  glyphs_.clear();
  stitchTotal = 0;
  int k = 0;
  for (char c : text) {
    if (c == ' ') continue;
    if (k >= kMaxLetteringCharacters) break;
    // A stored letter the font no longer has (another font file under the same name) has
    // no stitches to draw or sew: it is left out, and its entry in the block with it.
    if (!header_.HasGlyph(static_cast<unsigned char>(c))) {
      ++k;
      continue;
    }
    MonogramGlyph glyph;
    glyph.character = static_cast<uint8_t>(c);
    glyph.font = fontIndex;
    // A block from a layout file is not trusted: positions stay near the preview, so no
    // later sum overflows, and the angle is brought into one turn.
    auto bound = [](MonogramPoint p) {
      constexpr int32_t kLimit = 10000;
      return MonogramPoint{std::clamp(p.x, -kLimit, kLimit), std::clamp(p.y, -kLimit, kLimit)};
    };
    glyph.angle = block.Angle(k) % 360;
    glyph.origin = bound(block.Origin(k));
    glyph.centre = bound(block.Centre(k));
    glyph.offset = bound(block.Offset(k));
    glyph.width = block.Width(k);
    glyph.height = block.Height(k);
    glyph.topOffset = block.TopOffset(k);
    glyph.rect = block.Rect(k);
    ++k;
    if (!AddGlyph(std::move(glyph))) break;
  }
  mode = LetteringMode::kFree;
}

ArcLayout MonogramEngine::PlaceOnPath() {
  std::vector<int32_t> widths;
  widths.reserve(glyphs_.size());
  for (const MonogramGlyph& g : glyphs_) widths.push_back(g.advanceWidth);
  const std::vector<double> percents = SpaceGlyphs(widths);
  ArcLayout layout;
  if (mode == LetteringMode::kArc) {
    layout = ArcPath(arcPoints[0], arcPoints[1], arcPoints[2], percents);
  } else if (mode == LetteringMode::kLine) {
    layout.places = LinePath(linePoints[0], linePoints[1], percents);
    layout.lineFrom = linePoints[0];
    layout.lineTo = linePoints[1];
  } else {
    return layout;
  }
  for (std::size_t k = 0; k < glyphs_.size() && k < layout.places.size(); ++k) {
    PlaceGlyphOnPath(glyphs_[k], layout.places[k]);
  }
  return layout;
}

void MonogramEngine::DrawGlyphs(platform::Canvas& canvas, platform::PaletteColour pen) {
  canvas.SetPen(pen);
  for (MonogramGlyph& glyph : glyphs_) {
    if (glyph.IsSpace()) continue;
    const double a = GlyphRadians(glyph.angle);
    const double cosA = std::cos(a);
    const double sinA = std::sin(a);
    double x = 0, y = 0;
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    canvas.MoveTo(glyph.origin.x, glyph.origin.y);
    ForEachGlyphStep(glyph.record, [&](GlyphStepKind kind, int dx, int dy) {
      x += dx * cosA - dy * sinA;
      y -= dx * sinA + dy * cosA;
      const int px = static_cast<int>(glyph.origin.x + kStitchToPreview * x);
      const int py = static_cast<int>(glyph.origin.y + kStitchToPreview * y);
      if (kind == GlyphStepKind::kStitch) {
        canvas.LineTo(px, py);
      } else if (kind == GlyphStepKind::kJump) {
        canvas.MoveTo(px, py);
      }
      minX = std::min(minX, kStitchToPreview * x);
      maxX = std::max(maxX, kStitchToPreview * x);
      minY = std::min(minY, kStitchToPreview * y);
      maxY = std::max(maxY, kStitchToPreview * y);
    });
    glyph.rect = {static_cast<int32_t>(glyph.origin.x + minX) - 1, static_cast<int32_t>(glyph.origin.y + minY) - 1,
                  static_cast<int32_t>(glyph.origin.x + maxX) + 1, static_cast<int32_t>(glyph.origin.y + maxY) + 1};
    glyph.width = glyph.rect.right - glyph.rect.left;
    glyph.height = glyph.rect.bottom - glyph.rect.top;
  }
}

std::vector<std::size_t> MonogramEngine::StitchedGlyphs() const {
  if (mode == LetteringMode::kFree) return FreeStitchingOrder(glyphs_);
  std::vector<std::size_t> order;
  for (std::size_t k = 0; k < glyphs_.size(); ++k) {
    if (!glyphs_[k].IsSpace()) order.push_back(k);
  }
  return order;
}

std::vector<std::size_t> MonogramEngine::BlockGlyphs() const {
  // Line and arc letterings keep every character, spaces too, in text order: they are
  // rebuilt from the text. Free ones keep their letters in stitching order.
  if (mode == LetteringMode::kFree) return FreeStitchingOrder(glyphs_);
  std::vector<std::size_t> order(glyphs_.size());
  for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
  return order;
}

void MonogramEngine::FillBlock(MonogramBlock& block) {
  if (mode != LetteringMode::kFree) PlaceOnPath();
  block.Clear();
  block.SetMode(static_cast<int32_t>(mode));
  block.SetThreadCode(threadCode);
  block.SetFont(fontIndex);
  block.SetSpacing(spacingIndex);
  for (int i = 0; i < 3; ++i) block.SetArcPoint(i, arcPoints[static_cast<std::size_t>(i)]);
  for (int i = 0; i < 2; ++i) block.SetLinePoint(i, linePoints[static_cast<std::size_t>(i)]);
  const std::vector<std::size_t> kept = BlockGlyphs();
  for (std::size_t i = 0; i < kept.size() && i < static_cast<std::size_t>(kMaxLetteringCharacters); ++i) {
    const MonogramGlyph& g = glyphs_[kept[i]];
    const int k = static_cast<int>(i);
    block.SetCharacter(k, g.character);
    block.SetOrigin(k, g.origin);
    block.SetCentre(k, g.centre);
    block.SetOffset(k, g.offset);
    block.SetAngle(k, g.angle);
    block.SetWidth(k, g.width);
    block.SetHeight(k, g.height);
    block.SetTopOffset(k, g.topOffset);
    block.SetRect(k, g.rect);
  }
}

bool MonogramEngine::EncodeLetters(std::span<uint8_t> area, NeedlePoint start, std::size_t& written) const {
  StitchSink sink(area);
  NeedlePoint needle = start;
  bool ok = true;
  for (std::size_t k : StitchedGlyphs()) {
    const MonogramGlyph& g = glyphs_[k];
    const NeedlePoint target{g.origin.x * kPreviewToStitch, g.origin.y * kPreviewToStitch};
    if (!EncodeJumpMove(needle, target, sink) || !WriteGlyphStitches(g, needle, hoop_.area, sink)) {
      ok = false;
      break;
    }
  }
  written = sink.Position();
  return ok;
}

bool MonogramEngine::MakeStitches(design::StitchRecord& record, MonogramBlock& block) {
  record.Clear();
  record.SetStitchDataOffset(kOneColourStitchOffset);
  record.SetFlags(kLetteringFlags);
  record.SetColourCount(1);
  record.SetThreadCode(0, threadCode);
  record.SetThreadType(0, kLetteringThreadType);
  FillBlock(block);

  auto fail = [] {
    ShowStitchError();
    return false;
  };
  // The end pair always has room behind the letters' bytes.
  std::size_t end = 0;
  if (!EncodeLetters(record.StitchArea().first(record.StitchRoom() - 2), hoop_.start, end)) return fail();
  record.Stitches()[end] = design::kStitchEscape;
  record.Stitches()[end + 1] = design::kEnd;
  if (!design::CStitchEncoder().Recentre(record).ok) return fail();
  const design::CQnfExporter exporter;
  exporter.SetHoopFit(record, hoop_.hoopKind);
  exporter.StampHeader(record);
  return true;
}

void ShowStitchError() {
  platform::MessageBox(nullptr, kStitchErrorText, kAttentionCaption, platform::kMbOk | platform::kMbIconExclamation);
}

}  // namespace editor
