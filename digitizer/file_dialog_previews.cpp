#include "digitizer/file_dialog_previews.h"

#include <algorithm>

#include "design/hoop.h"
#include "design/qnf_file.h"
#include "digitizer/file_dialog_rules.h"
#include "platform/file_io.h"
#include "platform/le_bytes.h"
#include "platform/message_box.h"

namespace digitizer {
namespace {

constexpr std::size_t kMaxPreviewPictureBytes = 512u * 1024 * 1024;
constexpr int kLargeHoopPictureInset = 8;
// Pictures narrower than this (in 16-pixel words) leave the area below the square grey.
constexpr int kNarrowPictureWidth16 = 456;

void ShowPreviewFileError(const char* text = kPreviewFileErrorText) {
  platform::MessageBox(nullptr, text, kPreviewFileErrorCaption, platform::kMbOk | platform::kMbIconError);
}

// Reads a file for a preview: false without a word when it is not there, false after the
// message for any other failure.
bool ReadForPreview(const std::filesystem::path& path, std::vector<uint8_t>& bytes, std::size_t maxBytes,
                    bool wholeFile, const char* errorText = kPreviewFileErrorText) {
  const std::error_code error =
      wholeFile ? platform::ReadWholeFile(path, bytes, maxBytes) : platform::ReadFileHead(path, bytes, maxBytes);
  if (!error) return true;
  if (!platform::IsNotFound(error)) ShowPreviewFileError(errorText);
  bytes.clear();
  return false;
}

// Reads a bitmap for a preview: false without a word when it is not there, false after the
// file message when it cannot be read; a malformed or oversized picture is an error in the
// file too, said the same way, and leaves the picture empty. True when the file was opened.
bool ReadBitmapForPreview(const std::filesystem::path& path, CDib& dib) {
  std::error_code error;
  if (dib.ReadFile(path, error)) return true;
  if (error && platform::IsNotFound(error)) return false;
  ShowPreviewFileError();
  return !error;
}

}  // namespace

void PicturePreview::Load(const std::filesystem::path& path) {
  Clear();
  std::vector<uint8_t> bytes;
  if (LowerExtension(path) == ".wmf") {
    if (!ReadForPreview(path, bytes, kMaxPreviewPictureBytes, true, kClipartPreviewErrorText)) return;
    clipartShown_ = clipart_.ReadPlaceable(bytes) && clipart_.GetDataSize() != 0;
    valid_ = clipartShown_;
    return;
  }
  // A malformed bitmap is reported and leaves the preview white: the reader left the picture empty.
  valid_ = ReadBitmapForPreview(path, dib_);
}

void PicturePreview::Clear() {
  dib_.Empty();
  clipart_.Clear();
  clipartShown_ = false;
  valid_ = false;
}

void PicturePreview::Draw(platform::Canvas& canvas, int previewWidth, int previewHeight) {
  if (!valid_) {
    canvas.FillRect({0, 0, previewWidth, previewHeight}, kEmptyPreviewGrey);
    return;
  }
  if (clipartShown_) {
    clipart_.Render(canvas, 0, 0, previewWidth, previewHeight);
    return;
  }
  canvas.FillRect({0, 0, previewWidth, previewHeight}, platform::kPaletteWhite);
  DrawPicturePreview(dib_, canvas, previewWidth, previewHeight);
}

DesignPreview::DesignPreview() : design_(kDesignBufferBytes, 0) {}

int DesignPreview::DesignColourCount() const {
  if (designBytes_ < design::kQnfHeaderSize) return 0;
  return platform::ReadI32(design_.data() + design::qnf_offset::kColourCount);
}

bool DesignPreview::HasPicture() const {
  const CDib::Dimensions size = picture_.GetDimensions();
  return picture_.HasHeader() && size.width != 0 && size.height != 0;
}

void DesignPreview::Clear() {
  designBytes_ = 0;
  picture_.Empty();
  hoopLabel_.clear();
}

void DesignPreview::Load(const std::filesystem::path& stem, bool bitmapMode) {
  Clear();
  std::filesystem::path designPath = stem;
  designPath += ".qnf";
  std::filesystem::path picturePath = stem;
  picturePath += ".bmp";
  if (!bitmapMode) {
    std::vector<uint8_t> bytes;
    if (ReadForPreview(designPath, bytes, kDesignBufferBytes, false)) {
      std::copy(bytes.begin(), bytes.end(), design_.begin());
      designBytes_ = bytes.size();
    }
  } else {
    hoopLabel_.assign(1, ' ');  // a single blank: the label is cleared, not removed
  }
  ReadBitmapForPreview(picturePath, picture_);
}

void DesignPreview::DrawDesign(platform::Canvas& canvas, int previewWidth, int previewHeight) {
  if (!HasDesign()) {
    canvas.FillRect({0, 0, previewWidth, previewHeight}, kEmptyPreviewGrey);
    return;
  }
  hoopLabel_ = DrawDesignPreview({design_.data(), designBytes_}, canvas, previewWidth, previewHeight);
}

void DesignPreview::DrawPicture(platform::Canvas& canvas, int previewWidth, int previewHeight) const {
  canvas.FillRect({0, 0, previewWidth, previewHeight}, kEmptyPreviewGrey);
  if (!HasPicture()) return;
  const int hoopCode = DesignColourCount() != 0 ? DesignHoopCode({design_.data(), designBytes_}) : 0;
  const CDib::Dimensions size = picture_.GetDimensions();
  const platform::CanvasRect target = CompanionPictureTarget(size.width, hoopCode, previewWidth, previewHeight);
  canvas.FillRect(target, platform::kPaletteWhite);
  // The large hoop's picture sits 8 pixels in from the left, as the hoop does in its preview.
  // Reduced, not stretched, as every other companion picture: a thin line stays visible.
  const int left = hoopCode == design::kLargeHoop ? kLargeHoopPictureInset : 0;
  DrawPicturePreview(picture_, canvas, target.Width(), target.Height(), left);
  const int width16 = (size.width + 15) / 16 * 16;
  if (width16 < kNarrowPictureWidth16 && hoopCode != design::kLargeHoop) {
    canvas.FillRect({0, previewWidth, previewWidth, previewHeight}, kEmptyPreviewGrey);
  }
}

SewPreview::SewPreview(std::span<uint8_t> buffer) : buffer_(buffer) {}

void SewPreview::Load(const std::filesystem::path& path, bool largeHoop) {
  largeHoop_ = largeHoop;
  bytesRead_ = 0;
  extents_ = {};
  conversion_ = {};
  std::filesystem::path sewPath = path;
  sewPath.replace_extension(".sew");
  std::vector<uint8_t> bytes;
  if (!ReadForPreview(sewPath, bytes, std::min(buffer_.size(), kSewBufferBytes), false)) return;
  std::copy(bytes.begin(), bytes.end(), buffer_.begin());
  bytesRead_ = bytes.size();
  extents_ = SewWalk({buffer_.data(), bytesRead_}, largeHoop_, nullptr, 1, 1);
}

void SewPreview::Clear() {
  bytesRead_ = 0;
  extents_ = {};
  conversion_ = {};
}

void SewPreview::Draw(platform::Canvas& canvas, int previewWidth, int previewHeight) const {
  if (!IsLoaded()) {
    canvas.FillRect({0, 0, previewWidth, previewHeight}, kEmptyPreviewGrey);
    return;
  }
  SewWalk({buffer_.data(), bytesRead_}, largeHoop_, &canvas, previewWidth, previewHeight);
}

SewPreview::OkOutcome SewPreview::ConfirmName(const platform::Clock& clock) {
  conversion_ = {};
  if (!IsLoaded()) return OkOutcome::kClose;
  if (!largeHoop_ && SewExceedsStandardHoop(extents_)) {
    const int answer = platform::MessageBox(nullptr, kLargerThanStandardHoopText, kLargerThanStandardHoopCaption,
                                            platform::kMbYesNoCancel | platform::kMbIconInformation);
    if (answer == platform::kIdCancel) return OkOutcome::kStayOpen;
    if (answer == platform::kIdYes) {
      largeHoop_ = true;
      extents_ = SewWalk({buffer_.data(), bytesRead_}, true, nullptr, 1, 1);
    }
  }
  conversion_ = ConvertSew(buffer_, bytesRead_, largeHoop_, extents_, clock);
  return OkOutcome::kClose;
}

}  // namespace digitizer
