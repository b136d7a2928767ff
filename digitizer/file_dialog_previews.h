#pragma once

// What the three file dialogs read for their previews and draw through a Canvas, without a
// screen: the picture to import, the design with its companion bitmap, and the SEW file with
// its conversion on OK. Each preview is drawn in its own area's pixels from (0, 0).
//
// A file that is not there leaves the preview empty without a word; any other failure to read
// it shows "There is an error in a file.\nQuit operation." (the clipart reader shows its own).

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "digitizer/clipart.h"
#include "digitizer/dib.h"
#include "digitizer/sew_conversion.h"
#include "digitizer/stitch_preview.h"

namespace digitizer {

// The import dialog's preview of a .bmp or .wmf picture.
class PicturePreview {
 public:
  void Load(const std::filesystem::path& path);
  void Clear();  // the folder changed or the preview was switched off
  bool IsValid() const { return valid_; }
  void Draw(platform::Canvas& canvas, int previewWidth, int previewHeight);

 private:
  CDib dib_;
  CClipart clipart_;
  bool clipartShown_ = false;
  bool valid_ = false;
};

// The open/save dialog's two previews: the design (name.qnf) in its hoop and the companion
// outline drawing (name.bmp).
class DesignPreview {
 public:
  static constexpr std::size_t kDesignBufferBytes = 750740;

  DesignPreview();  // allocates the design buffer once

  // `stem` is the folder and name without extension. In bitmap mode only the picture is read.
  void Load(const std::filesystem::path& stem, bool bitmapMode);
  void Clear();
  bool HasDesign() const { return designBytes_ > 0 && DesignColourCount() != 0; }
  bool HasPicture() const;
  // The hoop label the design preview set ("Small Hoop", ...); a single blank in bitmap mode.
  const std::string& HoopLabel() const { return hoopLabel_; }
  void DrawDesign(platform::Canvas& canvas, int previewWidth, int previewHeight);
  void DrawPicture(platform::Canvas& canvas, int previewWidth, int previewHeight) const;

 private:
  int DesignColourCount() const;

  std::vector<uint8_t> design_;
  std::size_t designBytes_ = 0;
  CDib picture_;
  std::string hoopLabel_;
};

// The Open Sew File dialog: the preview in the chosen hoop and the conversion on OK, in the
// owner's buffer.
class SewPreview {
 public:
  explicit SewPreview(std::span<uint8_t> buffer);

  void Load(const std::filesystem::path& path, bool largeHoop);
  // The folder changed or the same file was chosen again: nothing is previewed.
  void Clear();
  bool IsLoaded() const { return bytesRead_ > 0; }
  bool LargeHoop() const { return largeHoop_; }
  const PreviewExtents& Extents() const { return extents_; }
  void Draw(platform::Canvas& canvas, int previewWidth, int previewHeight) const;

  enum class OkOutcome { kClose, kStayOpen };
  // The name was confirmed: asks to switch to the large hoop when the design does not fit the
  // standard one (Cancel keeps the dialog open), then converts.
  OkOutcome ConfirmName(const platform::Clock& clock);
  const SewConversion& Conversion() const { return conversion_; }

 private:
  std::span<uint8_t> buffer_;
  std::size_t bytesRead_ = 0;
  bool largeHoop_ = false;
  PreviewExtents extents_;
  SewConversion conversion_;
};

}  // namespace digitizer
