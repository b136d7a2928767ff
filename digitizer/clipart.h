#pragma once

// CClipart: one clipart picture read from a placeable metafile file (.wmf): a 22-byte
// placeable header (key, bounding box, resolution, checksum) in front of the metafile's own
// 18-byte header and its records. Renders itself into a bitmap of any size with a white
// margin of two pixels all round.
//
// The records are read straight from memory, so no temporary copy of the file is written.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <system_error>

#include "digitizer/metafile_picture.h"
#include "digitizer/pixel_image.h"
#include "platform/canvas.h"

namespace digitizer {

// A metafile picture as the clipboard hands it over: mapping mode, extents and the bits.
struct ClipboardMetafile {
  int mapMode = 0;
  int xExtent = 0;
  int yExtent = 0;
  std::span<const uint8_t> bits;
};

class CClipart {
 public:
  static constexpr std::size_t kPlaceableHeaderBytes = 22;
  static constexpr std::size_t kMetaHeaderBytes = 18;
  static constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
  // White left round the played picture on every side, in pixels.
  static constexpr int kRenderMargin = 2;

  struct Size {
    int width = 0;
    int height = 0;
  };

  CClipart();
  virtual ~CClipart();

  void Clear();

  // Reads a placeable metafile's bytes. On failure shows "File Header Error", "Not Clipart
  // File" or "Meta Header Error" (the previous picture is kept), or "WMF Data Read Error" (the
  // picture is cleared), and returns false. A picture that holds more than the drawing caps
  // (metafile_picture.h) allow is refused with "WMF Data Read Error" too.
  bool ReadPlaceable(std::span<const uint8_t> file);
  // The same from a file. A file that cannot be read sets fileError and shows nothing: the
  // document reports it with its own message.
  bool ReadPlaceableFile(const std::filesystem::path& path, std::error_code& fileError);

  // Adopts a clipboard metafile picture; its bits stay the caller's. False, keeping the
  // previous picture, when its records cannot be read or pass the drawing caps.
  bool CopyFrom(const ClipboardMetafile& picture);

  // Renders the picture into a white bitmap of the rectangle's size, inside a 2-pixel margin,
  // and copies the bitmap to the canvas at (left, top). The bitmap stays until the next Render.
  void Render(platform::Canvas& canvas, int left, int top, int right, int bottom);
  const PixelImage& RenderedBitmap() const { return bitmap_; }

  Size GetSize() const;
  int GetDataSize() const { return dataSize_; }

 private:
  bool Adopt(std::span<const uint8_t> bits, int width, int height, const MetaFrame& logicalBox);

  std::optional<MetafilePicture> picture_;
  MetaFrame frame_;  // what the picture's logical units span: its window, else its bounds
  int width_ = 0;
  int height_ = 0;
  int dataSize_ = 0;
  PixelImage bitmap_;
};

}  // namespace digitizer
