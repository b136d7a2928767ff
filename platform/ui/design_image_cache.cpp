#include "platform/ui/design_image_cache.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <QThread>

#include "platform/ui/qt_canvas.h"

namespace platform_ui {

namespace {

// Takes in every point a drawing reaches, with the widest pen's reach around it.
class BoundsCanvas : public platform::Canvas {
 public:
  void SetPen(platform::PaletteColour, int width, platform::PenStyle) override { reach_ = std::max(reach_, width / 2 + 1); }
  void MoveTo(int x, int y) override { Take(x, y); }
  void LineTo(int x, int y) override { Take(x, y); }
  void Polyline(std::span<const platform::CanvasPoint> points) override {
    for (const auto& p : points) Take(p.x, p.y);
  }
  void Rectangle(const platform::CanvasRect& r) override {
    Take(r.left, r.top);
    Take(r.right, r.bottom);
  }
  void FillRect(const platform::CanvasRect& r, platform::PaletteColour) override { Rectangle(r); }
  void Text(int x, int y, const std::string&, platform::PaletteColour) override { Take(x, y); }

  bool Empty() const { return empty_; }
  QRect Bounds() const { return QRect(QPoint(left_ - reach_, top_ - reach_), QPoint(right_ + reach_, bottom_ + reach_)); }

 private:
  void Take(int x, int y) {
    if (empty_) {
      left_ = right_ = x, top_ = bottom_ = y;
      empty_ = false;
      return;
    }
    left_ = std::min(left_, x), right_ = std::max(right_, x);
    top_ = std::min(top_, y), bottom_ = std::max(bottom_, y);
  }
  bool empty_ = true;
  int left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
  int reach_ = 1;
};

qint64 Bytes(const QImage& image) { return image.sizeInBytes(); }

}  // namespace

DesignImageCache::DesignImageCache() : handover_(std::make_shared<Handover>()) {
  workers_.setMaxThreadCount(std::max(1, std::min(4, QThread::idealThreadCount() / 2)));
}

// The pool waits for its workers; what they made is dropped with the handover.
DesignImageCache::~DesignImageCache() { workers_.waitForDone(); }

void DesignImageCache::BeginPaint(QPainter& painter) {
  painter_ = &painter;
  ++paint_;
  TakeMade();
}

void DesignImageCache::EndPaint() {
  painter_ = nullptr;
  KeepWithinBound();
}

void DesignImageCache::Clear() {
  entries_.clear();
  making_.clear();
  bytes_ = 0;
  // Images still being made are for drawings no longer wanted.
  handover_ = std::make_shared<Handover>();
}

void DesignImageCache::WaitForDrawings() { workers_.waitForDone(); }

void DesignImageCache::Forget(const void* identity) {
  const auto it = entries_.find(identity);
  if (it == entries_.end()) return;
  bytes_ -= Bytes(it->second.image);
  entries_.erase(it);
}

void DesignImageCache::Keep(const void* identity, Entry entry) {
  Forget(identity);
  entry.paint = paint_;
  bytes_ += Bytes(entry.image);
  entries_.emplace(identity, std::move(entry));
}

void DesignImageCache::TakeMade() {
  std::vector<Made> made;
  {
    const std::lock_guard lock(handover_->mutex);
    made.swap(handover_->made);
  }
  for (Made& m : made) {
    const auto wanted = making_.find(m.identity);
    // Only the look last asked for: an older one was overtaken by an edit.
    if (wanted == making_.end() || wanted->second != m.entry.look) continue;
    making_.erase(wanted);
    Keep(m.identity, std::move(m.entry));
  }
}

void DesignImageCache::KeepWithinBound() {
  if (bytes_ <= kMaxBytes) return;
  // What the last paint did not show goes first, then the largest.
  std::vector<std::pair<const void*, const Entry*>> order;
  for (const auto& [id, e] : entries_) order.emplace_back(id, &e);
  std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
    if (a.second->paint != b.second->paint) return a.second->paint < b.second->paint;
    return Bytes(a.second->image) > Bytes(b.second->image);
  });
  for (const auto& [id, e] : order) {
    if (bytes_ <= kMaxBytes) break;
    Forget(id);
  }
}

DesignImageCache::Entry DesignImageCache::Make(const platform::DesignDrawing& drawing,
                                               const platform::DesignDraw& draw, Scale scale) {
  Entry e;
  e.look = drawing.look;
  e.startX = drawing.startX;
  e.startY = drawing.startY;
  e.scale = scale;
  BoundsCanvas measure;
  draw(measure);
  if (measure.Empty()) {
    e.image = QImage(1, 1, QImage::Format_ARGB32_Premultiplied);
    e.image.fill(Qt::transparent);
    return e;
  }
  QRect bounds = measure.Bounds();
  const bool scaled = scale != Scale{};
  if (scaled) {
    // In screen pixels, with a pixel more round it for what rounding puts on the far side.
    bounds = QTransform::fromScale(scale.x, scale.y).mapRect(QRectF(bounds)).toAlignedRect().adjusted(-1, -1, 1, 1);
  }
  if (static_cast<qint64>(bounds.width()) * bounds.height() > kMaxImagePixels) return e;
  e.origin = bounds.topLeft();
  e.image = QImage(bounds.size(), QImage::Format_ARGB32_Premultiplied);
  e.image.fill(Qt::transparent);
  QPainter imagePainter(&e.image);
  imagePainter.translate(-bounds.topLeft());
  if (scaled) imagePainter.scale(scale.x, scale.y);
  QtCanvas imageCanvas(imagePainter);
  draw(imageCanvas);
  return e;
}

void DesignImageCache::DrawEntry(const Entry& e, const platform::DesignDrawing& drawing) {
  // Moved by the whole pixels the pen's first point moved.
  const QPoint shift(static_cast<int>(drawing.startX) - static_cast<int>(e.startX),
                     static_cast<int>(drawing.startY) - static_cast<int>(e.startY));
  if (e.scale == Scale{}) {
    painter_->drawImage(e.origin + shift, e.image);
    return;
  }
  // The image is in screen pixels already: only the window's scroll is left to apply.
  const QTransform world = painter_->worldTransform();
  painter_->save();
  painter_->setWorldTransform(QTransform::fromTranslate(world.dx(), world.dy()));
  painter_->drawImage(QPointF(e.origin) + QPointF(shift.x() * e.scale.x, shift.y() * e.scale.y), e.image);
  painter_->restore();
}

void DesignImageCache::Paint(platform::Canvas& canvas, const platform::DesignDrawing& drawing,
                             const platform::DesignDraw& draw, const platform::DetachDesignDraw& detach) {
  // A window turned or sheared is drawn directly; one scaled gets images at its scale.
  if (!painter_ || painter_->worldTransform().type() > QTransform::TxScale) {
    draw(canvas);
    return;
  }
  const Scale scale{painter_->worldTransform().m11(), painter_->worldTransform().m22()};
  const auto found = entries_.find(drawing.identity);
  if (found != entries_.end() && found->second.look == drawing.look && found->second.scale == scale) {
    Entry& e = found->second;
    const bool samePlace = e.startX == drawing.startX && e.startY == drawing.startY;
    if (samePlace || drawing.moving) {
      e.paint = paint_;
      if (e.image.isNull()) {
        draw(canvas);
        return;
      }
      DrawEntry(e, drawing);
      return;
    }
  }
  Forget(drawing.identity);

  if (!detach) {
    Keep(drawing.identity, Make(drawing, draw, scale));
    const Entry& e = entries_.at(drawing.identity);
    if (e.image.isNull()) draw(canvas);
    else DrawEntry(e, drawing);
    return;
  }
  // Drawn directly now, only what is in sight costs; the image follows from a worker.
  draw(canvas);
  const auto making = making_.find(drawing.identity);
  if (making != making_.end() && making->second == drawing.look) return;
  making_[drawing.identity] = drawing.look;
  std::weak_ptr<Handover> handover = handover_;
  workers_.start([handover, identity = drawing.identity, drawing, scale, detached = detach()] {
    Entry e = Make(drawing, detached, scale);
    if (const std::shared_ptr<Handover> h = handover.lock()) {
      const std::lock_guard lock(h->mutex);
      h->made.push_back({identity, std::move(e)});
    }
  });
}

}  // namespace platform_ui
