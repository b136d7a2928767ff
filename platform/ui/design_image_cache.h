#pragma once

// A window's keeper of its designs' drawings: each design is drawn once into an image of its
// own (transparent around the stitches) and painted from it until its look, its place or the
// zoom changes. One image per design; images above a size bound are not kept, and images
// that a paint did not use go first when the kept images pass the memory bound.

#include <QImage>
#include <QPainter>
#include <cstdint>
#include <unordered_map>

#include "platform/drawing_layer.h"

namespace platform_ui {

class DesignImageCache : public platform::DesignLayer {
 public:
  // A design drawing larger than this is drawn directly each time (36 MB of pixels).
  static constexpr qint64 kMaxImagePixels = 3000 * 3000;
  // What all kept images may take together.
  static constexpr qint64 kMaxBytes = 192ll * 1024 * 1024;

  // The painter the window paints with, from the start of a paint to its end; outside a
  // paint every design is drawn on the canvas it is given.
  void BeginPaint(QPainter& painter);
  void EndPaint();
  void Clear();

  void Paint(platform::Canvas& canvas, const platform::DesignDrawing& drawing,
             const platform::DesignDraw& draw) override;

  int KeptImages() const { return static_cast<int>(entries_.size()); }

 private:
  struct Entry {
    uint64_t look = 0;
    float startX = 0, startY = 0;
    QPoint origin;  // logical pixel of the image's top-left corner
    QImage image;
    uint64_t paint = 0;  // the last paint that used it
  };
  void Forget(const void* identity);
  void KeepWithinBound();

  std::unordered_map<const void*, Entry> entries_;
  QPainter* painter_ = nullptr;
  uint64_t paint_ = 0;
  qint64 bytes_ = 0;
};

}  // namespace platform_ui
