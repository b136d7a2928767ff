#pragma once

// A window's keeper of its designs' drawings: each design is drawn once into an image of its
// own (transparent around the stitches) and painted from it until its look, its place or the
// zoom changes. One image per design; images above a size bound are not kept, and images
// that a paint did not use go first when the kept images pass the memory bound.
//
// A window that paints at a scale (a view of true size, whose units are not screen pixels)
// gets images drawn at that scale, one image pixel to a screen pixel: an image drawn in the
// window's units and shrunk to the screen would drop thin lines between its samples.
//
// Where the view offers a drawing that owns its data, a missing image is made on a worker
// while the paint draws the design directly, so a zoom step costs no more than drawing what
// is in sight; the image is taken in at the next paint.

#include <QImage>
#include <QPainter>
#include <QThreadPool>
#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/drawing_layer.h"

namespace platform_ui {

class DesignImageCache : public platform::DesignLayer {
 public:
  // A design drawing larger than this is drawn directly each time (36 MB of pixels).
  static constexpr qint64 kMaxImagePixels = 3000 * 3000;
  // What all kept images may take together.
  static constexpr qint64 kMaxBytes = 192ll * 1024 * 1024;

  DesignImageCache();
  ~DesignImageCache() override;

  // The painter the window paints with, from the start of a paint to its end; outside a
  // paint every design is drawn on the canvas it is given.
  void BeginPaint(QPainter& painter);
  void EndPaint();
  void Clear();
  // Waits until the images being made are done (they are taken in at the next paint).
  void WaitForDrawings();

  void Paint(platform::Canvas& canvas, const platform::DesignDrawing& drawing, const platform::DesignDraw& draw,
             const platform::DetachDesignDraw& detach) override;

  int KeptImages() const { return static_cast<int>(entries_.size()); }

 private:
  // Screen pixels per logical pixel, across and down.
  struct Scale {
    qreal x = 1, y = 1;
    bool operator==(const Scale&) const = default;
  };
  struct Entry {
    uint64_t look = 0;
    float startX = 0, startY = 0;
    Scale scale;
    QPoint origin;  // the image's top-left corner: the logical pixel scaled, with no scroll
    QImage image;   // null: too large to keep, drawn directly
    uint64_t paint = 0;  // the last paint that used it
  };
  struct Made {
    const void* identity = nullptr;
    Entry entry;
  };
  // What the workers hand back; outlives the cache while a worker still runs.
  struct Handover {
    std::mutex mutex;
    std::vector<Made> made;
  };

  static Entry Make(const platform::DesignDrawing& drawing, const platform::DesignDraw& draw, Scale scale);
  // Paints the kept image where the drawing's first point now is.
  void DrawEntry(const Entry& e, const platform::DesignDrawing& drawing);
  void Keep(const void* identity, Entry entry);
  void TakeMade();
  void Forget(const void* identity);
  void KeepWithinBound();

  std::unordered_map<const void*, Entry> entries_;
  std::unordered_map<const void*, uint64_t> making_;  // identity -> look being made
  std::shared_ptr<Handover> handover_;
  QThreadPool workers_;
  QPainter* painter_ = nullptr;
  uint64_t paint_ = 0;
  qint64 bytes_ = 0;
};

}  // namespace platform_ui
