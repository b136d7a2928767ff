#pragma once

// MonogramBlock: the record of one lettering, carried by every placed design and stored
// whole in the layout file, so that the lettering can be edited again. It is kept as its
// 5,756-byte image (the layout file copies it whole) with typed little-endian accessors at
// the record's offsets. Its first byte is 0 for a design that is not lettering, else the
// first character of the lettering.
//
// Layout: 100 characters (NUL-padded; a 100-character lettering has no NUL), layout mode,
// thread code, font index, spacing index, the three arc points and two line points, then
// per character: origin, centre, offset (origin minus centre), angle, width, height, top
// offset and rectangle. Positions are preview pixels (0.5 mm, y down).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/le_bytes.h"

namespace editor {

constexpr std::size_t kMonogramBlockSize = 5756;
constexpr int kMonogramMaxCharacters = 100;

struct MonogramPoint {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const MonogramPoint&, const MonogramPoint&) = default;
};

struct MonogramRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  friend bool operator==(const MonogramRect&, const MonogramRect&) = default;
};

namespace monogram_offset {
constexpr std::size_t kText = 0;
constexpr std::size_t kMode = 100;
constexpr std::size_t kThreadCode = 104;
constexpr std::size_t kFont = 108;
constexpr std::size_t kSpacing = 112;
constexpr std::size_t kArcPoints = 116;   // 3 x (x, y)
constexpr std::size_t kLinePoints = 140;  // 2 x (x, y)
constexpr std::size_t kOrigins = 156;
constexpr std::size_t kCentres = 956;
constexpr std::size_t kOffsets = 1756;
constexpr std::size_t kAngles = 2556;
constexpr std::size_t kWidths = 2956;
constexpr std::size_t kHeights = 3356;
constexpr std::size_t kTopOffsets = 3756;
constexpr std::size_t kRects = 4156;
}  // namespace monogram_offset

struct MonogramBlock {
  std::array<uint8_t, kMonogramBlockSize> bytes{};

  bool IsLettering() const { return bytes[0] != 0; }
  void Clear() { bytes.fill(0); }

  // The characters up to the first NUL, at most 100.
  std::string Text() const {
    std::string text;
    for (int i = 0; i < kMonogramMaxCharacters && bytes[static_cast<std::size_t>(i)] != 0; ++i) {
      text.push_back(static_cast<char>(bytes[static_cast<std::size_t>(i)]));
    }
    return text;
  }
  // Writes at most 100 characters and NUL-pads the rest of the field.
  void SetText(const std::string& text) {
    for (std::size_t i = 0; i < kMonogramMaxCharacters; ++i) {
      bytes[monogram_offset::kText + i] = i < text.size() ? static_cast<uint8_t>(text[i]) : 0;
    }
  }
  uint8_t Character(int i) const { return bytes[monogram_offset::kText + Index(i)]; }
  void SetCharacter(int i, uint8_t c) { bytes[monogram_offset::kText + Index(i)] = c; }

  int32_t Mode() const { return I32(monogram_offset::kMode); }
  void SetMode(int32_t v) { SetI32(monogram_offset::kMode, v); }
  int32_t ThreadCode() const { return I32(monogram_offset::kThreadCode); }
  void SetThreadCode(int32_t v) { SetI32(monogram_offset::kThreadCode, v); }
  int32_t Font() const { return I32(monogram_offset::kFont); }
  void SetFont(int32_t v) { SetI32(monogram_offset::kFont, v); }
  int32_t Spacing() const { return I32(monogram_offset::kSpacing); }
  void SetSpacing(int32_t v) { SetI32(monogram_offset::kSpacing, v); }

  // Arc points 0..2 (P1..P3), line points 0..1 (L1, L2).
  MonogramPoint ArcPoint(int i) const { return Point(monogram_offset::kArcPoints, i % 3); }
  void SetArcPoint(int i, MonogramPoint p) { SetPoint(monogram_offset::kArcPoints, i % 3, p); }
  MonogramPoint LinePoint(int i) const { return Point(monogram_offset::kLinePoints, i % 2); }
  void SetLinePoint(int i, MonogramPoint p) { SetPoint(monogram_offset::kLinePoints, i % 2, p); }

  // Per character i, 0..99.
  MonogramPoint Origin(int i) const { return Point(monogram_offset::kOrigins, Index(i)); }
  void SetOrigin(int i, MonogramPoint p) { SetPoint(monogram_offset::kOrigins, Index(i), p); }
  MonogramPoint Centre(int i) const { return Point(monogram_offset::kCentres, Index(i)); }
  void SetCentre(int i, MonogramPoint p) { SetPoint(monogram_offset::kCentres, Index(i), p); }
  MonogramPoint Offset(int i) const { return Point(monogram_offset::kOffsets, Index(i)); }
  void SetOffset(int i, MonogramPoint p) { SetPoint(monogram_offset::kOffsets, Index(i), p); }
  int32_t Angle(int i) const { return I32(monogram_offset::kAngles + 4 * Index(i)); }
  void SetAngle(int i, int32_t v) { SetI32(monogram_offset::kAngles + 4 * Index(i), v); }
  int32_t Width(int i) const { return I32(monogram_offset::kWidths + 4 * Index(i)); }
  void SetWidth(int i, int32_t v) { SetI32(monogram_offset::kWidths + 4 * Index(i), v); }
  int32_t Height(int i) const { return I32(monogram_offset::kHeights + 4 * Index(i)); }
  void SetHeight(int i, int32_t v) { SetI32(monogram_offset::kHeights + 4 * Index(i), v); }
  int32_t TopOffset(int i) const { return I32(monogram_offset::kTopOffsets + 4 * Index(i)); }
  void SetTopOffset(int i, int32_t v) { SetI32(monogram_offset::kTopOffsets + 4 * Index(i), v); }
  MonogramRect Rect(int i) const {
    const std::size_t at = monogram_offset::kRects + 16 * Index(i);
    return {I32(at), I32(at + 4), I32(at + 8), I32(at + 12)};
  }
  void SetRect(int i, const MonogramRect& r) {
    const std::size_t at = monogram_offset::kRects + 16 * Index(i);
    SetI32(at, r.left);
    SetI32(at + 4, r.top);
    SetI32(at + 8, r.right);
    SetI32(at + 12, r.bottom);
  }

  friend bool operator==(const MonogramBlock&, const MonogramBlock&) = default;

 private:
  // An index outside 0..99 wraps into the arrays rather than leaving the block.
  static std::size_t Index(int i) {
    return static_cast<std::size_t>(((i % kMonogramMaxCharacters) + kMonogramMaxCharacters) %
                                    kMonogramMaxCharacters);
  }
  int32_t I32(std::size_t at) const { return platform::ReadI32(bytes.data() + at); }
  void SetI32(std::size_t at, int32_t v) { platform::WriteI32(bytes.data() + at, v); }
  MonogramPoint Point(std::size_t base, std::size_t i) const {
    return {I32(base + 8 * i), I32(base + 8 * i + 4)};
  }
  void SetPoint(std::size_t base, std::size_t i, MonogramPoint p) {
    SetI32(base + 8 * i, p.x);
    SetI32(base + 8 * i + 4, p.y);
  }
};

static_assert(monogram_offset::kRects + 16 * kMonogramMaxCharacters == kMonogramBlockSize);

}  // namespace editor
