#include "digitizer/clipart.h"

#include <algorithm>
#include <cmath>

#include "digitizer/pictorel_message.h"
#include "platform/file_io.h"
#include "platform/le_bytes.h"

namespace digitizer {
namespace {

// Placeable header: key, handle, bounding box left, top, right, bottom (signed 16-bit
// metafile units), units per inch, reserved, checksum.
constexpr std::size_t kKeyAt = 0;
constexpr std::size_t kBoundsLeftAt = 6;
constexpr std::size_t kBoundsTopAt = 8;
constexpr std::size_t kBoundsRightAt = 10;
constexpr std::size_t kBoundsBottomAt = 12;
constexpr std::size_t kMaxClipartFileBytes = 64u * 1024 * 1024;

// A box runs left to right and top to bottom on the target, whichever way the mapping turns it.
MetaFrame Upright(const MetaFrame& frame) {
  return {std::min(frame.left, frame.left + frame.width), std::min(frame.top, frame.top + frame.height),
          std::fabs(frame.width), std::fabs(frame.height)};
}

}  // namespace

CClipart::CClipart() = default;

CClipart::~CClipart() { Clear(); }

void CClipart::Clear() {
  picture_.reset();
  frame_ = {};
  width_ = 0;
  height_ = 0;
  dataSize_ = 0;
}

bool CClipart::ReadPlaceable(std::span<const uint8_t> file) {
  if (file.size() < kPlaceableHeaderBytes) {
    ShowPictorelMessage("File Header Error");
    return false;
  }
  if (platform::ReadU32(&file[kKeyAt]) != kPlaceableKey) {
    ShowPictorelMessage("Not Clipart File");
    return false;
  }
  const auto bits = file.subspan(kPlaceableHeaderBytes);
  if (bits.size() < kMetaHeaderBytes) {
    ShowPictorelMessage("Meta Header Error");
    return false;
  }
  const int left = platform::ReadI16(&file[kBoundsLeftAt]);
  const int top = platform::ReadI16(&file[kBoundsTopAt]);
  const int right = platform::ReadI16(&file[kBoundsRightAt]);
  const int bottom = platform::ReadI16(&file[kBoundsBottomAt]);
  if (!Adopt(bits, right - left, bottom - top,
             MetaFrame{static_cast<double>(left), static_cast<double>(top), static_cast<double>(right - left),
                       static_cast<double>(bottom - top)})) {
    Clear();
    ShowPictorelMessage("WMF Data Read Error");
    return false;
  }
  return true;
}

// The picture's own window frames it; without one, the box it was given, in its logical units.
// A picture that cannot be read, or that the caps say could not be drawn in time, is refused.
bool CClipart::Adopt(std::span<const uint8_t> bits, int width, int height, const MetaFrame& logicalBox) {
  std::optional<MetafilePicture> picture = ReadMetafileRecords(bits);
  if (!picture) return false;
  const MetaFrame frame = picture->window.value_or(Upright(picture->mapping.Map(logicalBox)));
  if (!FitsDrawingCaps(*picture, frame)) return false;
  width_ = width;
  height_ = height;
  frame_ = frame;
  dataSize_ = static_cast<int>(bits.size());
  picture_ = std::move(picture);
  return true;
}

bool CClipart::ReadPlaceableFile(const std::filesystem::path& path, std::error_code& fileError) {
  std::vector<uint8_t> file;
  fileError = platform::ReadWholeFile(path, file, kMaxClipartFileBytes);
  if (fileError) return false;
  return ReadPlaceable(file);
}

bool CClipart::CopyFrom(const ClipboardMetafile& picture) {
  return Adopt(picture.bits, picture.xExtent, picture.yExtent,
               MetaFrame{0, 0, static_cast<double>(picture.xExtent), static_cast<double>(picture.yExtent)});
}

void CClipart::Render(platform::Canvas& canvas, int left, int top, int right, int bottom) {
  const int width = right - left;
  const int height = bottom - top;
  bitmap_ = PixelImage(width, height, platform::kPaletteWhite);
  if (bitmap_.IsEmpty()) return;
  if (picture_) {
    PlayMetafile(*picture_, frame_, bitmap_, kRenderMargin, kRenderMargin, width - kRenderMargin,
                 height - kRenderMargin);
  }
  PaintPixelImage(canvas, bitmap_, left, top);
}

CClipart::Size CClipart::GetSize() const {
  if (dataSize_ == 0) return {};
  return {width_, height_};
}

}  // namespace digitizer
