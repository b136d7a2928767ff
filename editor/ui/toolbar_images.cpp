#include "editor/ui/toolbar_images.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "editor/command_ids.h"
#include "editor/template_commands.h"

namespace editor_ui {

namespace cmd = editor::cmd;

namespace {

struct ToolbarButtonLook {
  int command;
  const char* themeName;  // nullptr: drawn by the program only
  const char* help;
};

constexpr ToolbarButtonLook kLooks[] = {
    {cmd::kFileNew, "document-new", "Create a new layout"},
    {cmd::kFileOpen, "document-open", "Open an existing layout"},
    {cmd::kFileSave, "document-save", "Save the active layout"},
    {cmd::kImportDesign, nullptr, "Import a design into the layout"},
    {cmd::kMonogram, nullptr, "Make lettering from monogram fonts"},
    {cmd::kEditCopy, "edit-copy", "Copy the selected design"},
    {cmd::kEditPaste, "edit-paste", "Paste the copied design"},
    {cmd::kRotate90, nullptr, "Rotate the selected design 90 degrees clockwise; the arrow offers other angles"},
    {cmd::kFlipV, nullptr, "Flip the selected design upside down"},
    {cmd::kFlipH, nullptr, "Flip the selected design left to right"},
    {cmd::kEditUndo, "edit-undo", "Undo the last action"},
    {cmd::kDelete, "edit-delete", "Delete the selected design"},
    {cmd::kFilePrint, "document-print", "Print the layout's templates"},
    {cmd::kSendDesigns, nullptr, "Send the layout's designs to the machine"},
    {cmd::kWriteDesigns, nullptr, "Write the layout's designs to an ATA PC card"},
    {cmd::kCombine, nullptr, "Combine designs into one"},
    {cmd::kZoomTool, "zoom-in", "Zoom in where you click; the arrow offers fixed sizes"},
};

const ToolbarButtonLook* LookOf(int command) {
  for (const ToolbarButtonLook& look : kLooks) {
    if (look.command == command) return &look;
  }
  return nullptr;
}

const QColor kInk(40, 40, 40);
const QColor kPaper(255, 255, 255);
const QColor kBlue(40, 90, 180);
const QColor kRed(200, 40, 40);
const QColor kGreen(40, 140, 60);
const QColor kYellow(235, 200, 80);

void Page(QPainter& p, QRectF r) {
  QPainterPath path;
  path.moveTo(r.left(), r.top());
  path.lineTo(r.right() - 4, r.top());
  path.lineTo(r.right(), r.top() + 4);
  path.lineTo(r.right(), r.bottom());
  path.lineTo(r.left(), r.bottom());
  path.closeSubpath();
  p.setBrush(kPaper);
  p.drawPath(path);
  p.drawLine(QPointF(r.right() - 4, r.top()), QPointF(r.right() - 4, r.top() + 4));
  p.drawLine(QPointF(r.right() - 4, r.top() + 4), QPointF(r.right(), r.top() + 4));
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour) {
  p.save();
  p.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawLine(from, to);
  const QPointF d = to - from;
  const double length = std::max(1.0, std::hypot(d.x(), d.y()));
  const QPointF u = d / length, n(-u.y(), u.x());
  p.drawLine(to, to - 4 * u + 3 * n);
  p.drawLine(to, to - 4 * u - 3 * n);
  p.restore();
}

// A triangle pointing right, for the flip images.
void Half(QPainter& p, const QPolygonF& shape, const QColor& fill) {
  p.setBrush(fill);
  p.drawPolygon(shape);
}

void Draw(QPainter& p, int command) {
  p.setPen(QPen(kInk, 1));
  switch (command) {
    case cmd::kFileNew: Page(p, {5.5, 2.5, 12, 16}); break;
    case cmd::kFileOpen: {
      p.setBrush(kYellow);
      p.drawRect(QRectF(2.5, 5.5, 15, 12));
      p.setBrush(QColor(250, 225, 120));
      p.drawPolygon(QPolygonF({{2.5, 17.5}, {6.5, 9.5}, {20.5, 9.5}, {17.5, 17.5}}));
      break;
    }
    case cmd::kFileSave: {
      p.setBrush(kBlue);
      p.drawRect(QRectF(3.5, 2.5, 15, 16));
      p.setBrush(kPaper);
      p.drawRect(QRectF(6.5, 2.5, 9, 6));
      p.setBrush(QColor(200, 200, 200));
      p.drawRect(QRectF(6.5, 12.5, 9, 6));
      break;
    }
    case cmd::kImportDesign:
      Page(p, {8.5, 2.5, 11, 16});
      Arrow(p, {1.5, 10.5}, {12.5, 10.5}, kGreen);
      break;
    case cmd::kMonogram: {
      QFont font("Serif");
      font.setPixelSize(17);
      font.setBold(true);
      p.setFont(font);
      p.setPen(kBlue);
      p.drawText(QRectF(0, 0, kToolbarImageWidth, 18), Qt::AlignCenter, "A");
      p.setPen(QPen(kRed, 1, Qt::DashLine));
      p.drawLine(QPointF(3, 19.5), QPointF(19, 19.5));
      break;
    }
    case cmd::kEditCopy:
      Page(p, {2.5, 2.5, 10, 12});
      Page(p, {9.5, 7.5, 10, 12});
      break;
    case cmd::kEditPaste:
      p.setBrush(QColor(170, 120, 60));
      p.drawRect(QRectF(3.5, 3.5, 13, 15));
      p.setBrush(QColor(200, 200, 200));
      p.drawRect(QRectF(7.5, 1.5, 5, 4));
      Page(p, {10.5, 8.5, 9, 11});
      break;
    case cmd::kRotate90: {
      p.setPen(QPen(kBlue, 2));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(4, 4, 14, 14), 150 * 16, -270 * 16);
      p.setBrush(kBlue);
      p.setPen(Qt::NoPen);
      // The arrow's head where the arc ends, turning clockwise.
      p.drawPolygon(QPolygonF({{1.5, 8.5}, {8.5, 8.5}, {4.5, 13.5}}));
      break;
    }
    case cmd::kFlipV:
      Half(p, QPolygonF({{4.5, 9.5}, {17.5, 9.5}, {11, 2.5}}), kBlue);
      Half(p, QPolygonF({{4.5, 11.5}, {17.5, 11.5}, {11, 18.5}}), kPaper);
      break;
    case cmd::kFlipH:
      Half(p, QPolygonF({{9.5, 3.5}, {9.5, 17.5}, {2.5, 10.5}}), kBlue);
      Half(p, QPolygonF({{12.5, 3.5}, {12.5, 17.5}, {19.5, 10.5}}), kPaper);
      break;
    case cmd::kEditUndo: {
      p.setPen(QPen(kBlue, 2));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(5, 5, 13, 12), 90 * 16, -200 * 16);
      Arrow(p, {11, 5}, {5, 5}, kBlue);
      break;
    }
    case cmd::kDelete:
      p.setPen(QPen(kRed, 3, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(5, 4), QPointF(17, 16));
      p.drawLine(QPointF(17, 4), QPointF(5, 16));
      break;
    case cmd::kFilePrint:
      Page(p, {6.5, 1.5, 9, 8});
      p.setBrush(QColor(190, 190, 190));
      p.drawRect(QRectF(2.5, 8.5, 17, 8));
      Page(p, {6.5, 14.5, 9, 5});
      break;
    case cmd::kSendDesigns:
      // The machine's arm and bed, the designs going to it.
      p.setBrush(kPaper);
      p.drawRect(QRectF(8.5, 5.5, 12, 4));
      p.drawRect(QRectF(17.5, 5.5, 3, 12));
      p.drawRect(QRectF(6.5, 15.5, 15, 3));
      p.drawLine(QPointF(10.5, 9.5), QPointF(10.5, 13.5));
      Arrow(p, {1.5, 11.5}, {7.5, 11.5}, kGreen);
      break;
    case cmd::kWriteDesigns:
      p.setBrush(QColor(90, 90, 100));
      p.drawRect(QRectF(9.5, 3.5, 11, 15));
      p.setPen(QPen(kYellow, 1));
      for (int x = 11; x <= 19; x += 2) p.drawLine(QPointF(x + 0.5, 4.5), QPointF(x + 0.5, 6.5));
      Arrow(p, {1.5, 11.5}, {8, 11.5}, kGreen);
      break;
    case cmd::kCombine:
      p.setBrush(QColor(120, 160, 230));
      p.drawRect(QRectF(2.5, 2.5, 10, 10));
      p.setBrush(QColor(230, 140, 140));
      p.drawRect(QRectF(8.5, 8.5, 10, 10));
      break;
    case cmd::kZoomTool:
      p.setPen(QPen(kInk, 2));
      p.setBrush(QColor(220, 235, 250));
      p.drawEllipse(QRectF(3, 2, 11, 11));
      p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(13, 12), QPointF(19, 18));
      p.setPen(QPen(kInk, 1));
      p.drawLine(QPointF(6, 7.5), QPointF(11, 7.5));
      p.drawLine(QPointF(8.5, 5), QPointF(8.5, 10));
      break;
    default: break;
  }
}

// Under the mouse the image lights up.
QPixmap HotLook(const QPixmap& normal) {
  QPixmap hot = normal;
  QPainter p(&hot);
  p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
  p.fillRect(hot.rect(), QColor(255, 255, 255, 70));
  return hot;
}

// A command that cannot run shows its image in faded grays.
QPixmap DisabledLook(const QPixmap& normal) {
  QImage image = normal.toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int gray = 128 + qGray(row[x]) / 2;
      row[x] = qRgba(gray, gray, gray, qAlpha(row[x]) / 2);
    }
  }
  return QPixmap::fromImage(image);
}

}  // namespace

QPixmap DrawToolbarImage(int command) {
  if (!LookOf(command)) return {};
  QPixmap pixmap(kToolbarImageWidth, kToolbarImageHeight);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, true);
  Draw(p, command);
  return pixmap;
}

QIcon ToolbarIcon(int command) {
  const ToolbarButtonLook* look = LookOf(command);
  if (!look) return {};
  QPixmap normal;
  if (look->themeName && QIcon::hasThemeIcon(look->themeName)) {
    normal = QIcon::fromTheme(look->themeName).pixmap(QSize(kToolbarImageWidth, kToolbarImageHeight));
  }
  if (normal.isNull()) normal = DrawToolbarImage(command);
  QIcon icon;
  icon.addPixmap(normal, QIcon::Normal);
  icon.addPixmap(HotLook(normal), QIcon::Active);
  icon.addPixmap(DisabledLook(normal), QIcon::Disabled);
  return icon;
}

const char* ToolbarHelp(int command) {
  const ToolbarButtonLook* look = LookOf(command);
  return look ? look->help : "";
}

}  // namespace editor_ui
