#include "link/panel/design_preview.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

#include "design/qnf_file.h"
#include "design/stitch_record.h"
#include "design/stitch_stream.h"
#include "platform/file_io.h"
#include "platform/le_bytes.h"

namespace linkpanel {

namespace {

// The machine's 78 threads as the preview paints them, by thread code 1..78.
constexpr std::array<uint32_t, design::kMaxColours + 1> kThreadRgb = [] {
  std::array<uint32_t, design::kMaxColours + 1> rgb{};
  constexpr std::pair<int, uint32_t> kRows[] = {
      {2, 0xFFFFFF},  {1, 0x000000},  {13, 0xE4C35D}, {9, 0xF669A0},  {74, 0xF0331F},
      {4, 0xFF6600},  {3, 0xFFFF17},  {14, 0x481A05}, {75, 0x1A842D}, {12, 0x0B2F84},
      {8, 0xAB5A96},  {15, 0xAC9CC7}, {16, 0xFCF294}, {17, 0xF999B7}, {18, 0xFAB381},
      {19, 0xC9A480}, {11, 0xB1704E}, {20, 0x970533}, {21, 0xA0B8CC}, {7, 0x65C2C8},
      {22, 0x7FC21C}, {5, 0x2F5933},  {23, 0xE5E5E5}, {24, 0x889B9B}, {76, 0x386CAE},
      {77, 0xE3C4B4}, {78, 0xE3AC81}, {10, 0xFF0000}, {6, 0x237336},  {25, 0x98D6BD},
      {26, 0xB2E1E3}, {27, 0x368BA0}, {28, 0x4F83AB}, {29, 0x386A91}, {30, 0x071650},
      {31, 0xF999A2}, {32, 0xF9676B}, {33, 0xE3311F}, {34, 0xE2A188}, {35, 0xB59474},
      {36, 0xE4CF99}, {37, 0xFFCB00}, {38, 0xE1ADD4}, {39, 0xC3007E}, {40, 0x80004B},
      {41, 0x540571}, {42, 0xB10525}, {43, 0xCAE0C0}, {44, 0x899856}, {45, 0x5C941A},
      {46, 0x003114}, {47, 0x5DAE94}, {48, 0x4CBF8F}, {49, 0x007772}, {50, 0x595B61},
      {51, 0xFFFFF2}, {52, 0xB15818}, {53, 0xCB8A07}, {54, 0x986C80}, {55, 0x98692D},
      {56, 0x4D3419}, {57, 0x4C330B}, {58, 0x33200A}, {59, 0x523A97}, {60, 0x0D217E},
      {61, 0x1E77AC}, {62, 0xB2DD53}, {63, 0xF33689}, {64, 0xDE649E}, {65, 0x984161},
      {66, 0x4C5612}, {67, 0x4C881F}, {68, 0xE4DE79}, {69, 0xCB8A1A}, {70, 0xCBA21C},
      {71, 0xFF9805}, {72, 0xFCB257}, {73, 0xFFE505},
  };
  for (const auto& [code, value] : kRows) rgb[code] = value;
  return rgb;
}();

constexpr PreviewHoop kNormalHoop{"Normal Hoop", 1100, 1100, 550, 550};
constexpr PreviewHoop kSmallHoop{"Small Hoop", 500, 500, 250, 250};
constexpr PreviewHoop kLargeHoop{"Large Hoop", 1600, 2000, 800, 1000};

// The thread code is the low 16 bits of each colour-table entry.
constexpr uint32_t kThreadCodeMask = 0xFFFF;
// Control codes the preview reads besides those of the stitch stream: an odd code up to
// this one (the marker aside, which carries no pair) changes colour after its move; these
// two change colour where the needle is.
constexpr uint8_t kHighestMoveAndChangeCode = 0x0F;
constexpr uint8_t kChangeInPlaceCode = 0x20;
constexpr uint8_t kChangeInPlaceAltCode = 0x80;

int ClampTo(int64_t value, int limit) {
  return static_cast<int>(std::clamp<int64_t>(value, 0, std::max(limit, 0)));
}

// Walks the stitch bytes and draws them: the needle position in frame units, the colour
// table cycled at every change.
class PreviewPen {
 public:
  PreviewPen(platform::Canvas& canvas, const PreviewHoop& hoop, std::vector<int> threadCodes,
             int widthPixels, int heightPixels)
      : canvas_(canvas),
        hoop_(hoop),
        codes_(std::move(threadCodes)),
        width_(widthPixels),
        height_(heightPixels),
        x_(hoop.startX),
        y_(hoop.startY) {
    canvas_.SetPen(PreviewThreadColour(codes_.front()));
    MoveHere();
  }

  void Stitch(int dx, int dy) {
    Step(dx, dy);
    const platform::CanvasPoint to = Here();
    canvas_.LineTo(to.x, to.y);
  }
  void Move(int dx, int dy) {
    Step(dx, dy);
    MoveHere();
  }
  void NextColour() {
    colour_ = (colour_ + 1) % codes_.size();
    canvas_.SetPen(PreviewThreadColour(codes_[colour_]));
    MoveHere();
  }

 private:
  // dy is upwards in the stitch bytes, downwards on the screen.
  void Step(int dx, int dy) {
    x_ += dx;
    y_ -= dy;
  }
  platform::CanvasPoint Here() const { return PreviewPixelOf(hoop_, x_, y_, width_, height_); }
  void MoveHere() {
    const platform::CanvasPoint at = Here();
    canvas_.MoveTo(at.x, at.y);
  }

  platform::Canvas& canvas_;
  PreviewHoop hoop_;
  std::vector<int> codes_;
  std::size_t colour_ = 0;
  int width_;
  int height_;
  int64_t x_;
  int64_t y_;
};

}  // namespace

PreviewHoop PreviewHoopOf(int32_t hoopCode) {
  if (hoopCode == 0) return kNormalHoop;
  if (hoopCode == 1) return kSmallHoop;
  return kLargeHoop;
}

platform::PaletteColour PreviewThreadColour(int threadCode) {
  if (threadCode < 1 || threadCode > design::kMaxColours) return platform::kPaletteBlack;
  const uint32_t rgb = kThreadRgb[static_cast<std::size_t>(threadCode)];
  return platform::PaletteRgb(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                              static_cast<uint8_t>(rgb));
}

platform::CanvasPoint PreviewPixelOf(const PreviewHoop& hoop, int frameX, int frameY,
                                     int widthPixels, int heightPixels) {
  return {ClampTo(int64_t{frameX} * widthPixels / hoop.frameWidth, widthPixels),
          ClampTo(int64_t{frameY} * heightPixels / hoop.frameHeight, heightPixels)};
}

std::optional<std::string> DrawDesignPreview(std::span<const uint8_t> bytes,
                                             platform::Canvas& canvas, int widthPixels,
                                             int heightPixels) {
  namespace off = design::qnf_offset;
  if (bytes.size() < design::kQnfHeaderSize) return std::nullopt;
  const int32_t colourCount = platform::ReadI32(bytes.data() + off::kColourCount);
  if (colourCount < 1 || colourCount > design::kMaxColours) return std::nullopt;
  const std::size_t tableEnd = off::kColourTables + 4 * static_cast<std::size_t>(colourCount);
  const int32_t stitchOffset = platform::ReadI32(bytes.data() + off::kStitchDataOffset);
  if (tableEnd > bytes.size() || stitchOffset < 0 ||
      static_cast<std::size_t>(stitchOffset) > bytes.size()) {
    return std::nullopt;
  }
  std::vector<int> codes;
  codes.reserve(static_cast<std::size_t>(colourCount));
  for (std::size_t at = off::kColourTables; at < tableEnd; at += 4) {
    codes.push_back(static_cast<int>(platform::ReadU32(bytes.data() + at) & kThreadCodeMask));
  }
  const PreviewHoop hoop = PreviewHoopOf(platform::ReadI32(bytes.data() + off::kHoopCode));
  const int width = std::max(widthPixels, 0);
  const int height = std::max(heightPixels, 0);
  canvas.FillRect({0, 0, width, height}, platform::kPaletteWhite);

  const std::span<const uint8_t> stitches = bytes.subspan(static_cast<std::size_t>(stitchOffset));
  const int64_t pairsToWalk = int64_t{platform::ReadI32(bytes.data() + off::kPairCount)} - 1;
  const std::size_t pairsInData = stitches.size() / 2;
  const std::size_t pairs = pairsToWalk <= 0 ? 0
                            : std::min<std::size_t>(static_cast<std::size_t>(pairsToWalk), pairsInData);
  PreviewPen pen(canvas, hoop, std::move(codes), width, height);
  for (std::size_t i = 0; i < pairs; ++i) {
    const uint8_t* pair = stitches.data() + 2 * i;
    if (!design::IsControl(pair)) {
      pen.Stitch(design::PairDx(pair), design::PairDy(pair));
      continue;
    }
    const uint8_t code = pair[1];
    if (code == design::kEnd) break;
    const bool movesAndChanges = (code & 1) != 0 && code <= kHighestMoveAndChangeCode &&
                                 code != design::kMarker;
    if (movesAndChanges || design::IsJumpCode(code)) {
      if (++i >= pairs) break;
      const uint8_t* move = stitches.data() + 2 * i;
      pen.Move(design::PairDx(move), design::PairDy(move));
      if (movesAndChanges) pen.NextColour();
    } else if (code == kChangeInPlaceCode || code == kChangeInPlaceAltCode) {
      pen.NextColour();
    }
    // A marker carries no pair; 0x30 and any other code are passed over.
  }
  return std::string(hoop.name);
}

std::optional<std::string> DrawDesignPreviewFile(const std::filesystem::path& file,
                                                 platform::Canvas& canvas, int widthPixels,
                                                 int heightPixels) {
  std::vector<uint8_t> bytes;
  if (platform::ReadWholeFile(file, bytes, kMaxPreviewFileBytes)) return std::nullopt;
  return DrawDesignPreview(bytes, canvas, widthPixels, heightPixels);
}

namespace {

std::string LowerExtensionOf(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return {};
  std::string extension(name.substr(dot + 1));
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

}  // namespace

bool IsPreviewableName(std::string_view listedName) {
  const std::string extension = LowerExtensionOf(listedName);
  return extension == "qnf" || extension == "ptn";
}

std::optional<std::string> NewlyChosenDesign(const std::vector<std::string>& before,
                                             const std::vector<std::string>& now) {
  for (const std::string& path : now) {
    if (LowerExtensionOf(path) != "qnf") continue;
    if (std::find(before.begin(), before.end(), path) == before.end()) return path;
  }
  return std::nullopt;
}

std::string PreviewTip(const std::optional<std::string>& shownPath) {
  return shownPath ? *shownPath : std::string("Preview");
}

}  // namespace linkpanel
