#pragma once

// The picture tiled under the layout: a bitmap file's packed bitmap (its info header,
// colour table and pixel rows, everything after the 14-byte file header), kept whole so that
// the window can draw it at its own pixel size.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace hooplayout {

inline constexpr char kCannotOpenBitmapText[] = "Faied to open the bitmap file";
inline constexpr char kNotABitmapText[] = "Not a bitmap file";

constexpr std::size_t kBitmapFileHeaderSize = 14;
// No background worth tiling is larger; a bigger file is refused before it is read.
constexpr std::size_t kMaxBackgroundFileSize = 64u * 1024u * 1024u;

struct BackgroundPicture {
  std::vector<uint8_t> packed;  // info header, colour table, rows
  int32_t width = 0;            // pixels
  int32_t height = 0;           // pixels, always positive
  bool bottomUp = true;         // rows stored from the bottom, as a positive height says
  int bitCount = 0;
  std::size_t colourCount = 0;  // entries of 4 bytes after the info header
  std::size_t bitsOffset = 0;   // where the rows start within packed
  std::size_t rowStride = 0;    // bytes per row, padded to 4
};

// The colour table's entries: biClrUsed when the header is larger than 35 bytes and says
// so, else 2^bitcount for the palette formats and none for 16, 24 and 32 bits per pixel.
std::size_t ColourTableEntries(uint32_t headerSize, int bitCount, uint32_t coloursUsed);

enum class PictureLoad { kLoaded, kCannotOpen, kNotABitmap, kShortRead };

struct PictureLoadResult {
  PictureLoad status = PictureLoad::kCannotOpen;
  std::optional<BackgroundPicture> picture;
};

// Parses a whole bitmap file: "BM", then the packed bitmap, whose header, colour table and
// rows must all lie within the bytes read.
PictureLoadResult ParseBackgroundPicture(std::span<const uint8_t> file);

// Reads and parses the file; a file that cannot be read is one that cannot be opened.
PictureLoadResult ReadBackgroundPictureFile(const std::filesystem::path& path);

}  // namespace hooplayout
