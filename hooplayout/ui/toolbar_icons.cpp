#include "hooplayout/ui/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

#include "hooplayout/vantle_command_ids.h"

namespace hooplayout_ui {

namespace {

namespace cmd = hooplayout::cmd;

constexpr int kIconWidth = 22;
constexpr int kIconHeight = 21;

const QColor kInk(0x20, 0x20, 0x20);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kFolder(0xE8, 0xB8, 0x40);
const QColor kBlue(0x30, 0x60, 0xC0);
const QColor kRed(0xC8, 0x28, 0x28);
const QColor kGreen(0x28, 0x90, 0x40);

QIcon Drawn(const std::function<void(QPainter&)>& draw) {
  QPixmap pixmap(kIconWidth, kIconHeight);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(kInk, 1));
  draw(painter);
  painter.end();
  return QIcon(pixmap);
}

void Page(QPainter& p, int left, int top, int width, int height) {
  QPainterPath page;
  page.moveTo(left, top);
  page.lineTo(left + width - 4, top);
  page.lineTo(left + width, top + 4);
  page.lineTo(left + width, top + height);
  page.lineTo(left, top + height);
  page.closeSubpath();
  p.setBrush(kPaper);
  p.drawPath(page);
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour) {
  p.setPen(QPen(colour, 2));
  p.drawLine(from, to);
  const QPointF d = (to - from) / std::max(1.0, std::hypot((to - from).x(), (to - from).y()));
  const QPointF n(-d.y(), d.x());
  p.setBrush(colour);
  p.setPen(Qt::NoPen);
  const QPointF head[3] = {to + d * 2, to - d * 4 + n * 3.5, to - d * 4 - n * 3.5};
  p.drawPolygon(head, 3);
  p.setPen(QPen(kInk, 1));
}

// A stitched design: a zigzag in thread colour.
void Stitches(QPainter& p, int left, int top, const QColor& colour) {
  p.setPen(QPen(colour, 1.5));
  const QPointF zig[5] = {{left + 0.0, top + 4.0}, {left + 3.0, top + 0.0}, {left + 6.0, top + 4.0},
                          {left + 9.0, top + 0.0}, {left + 12.0, top + 4.0}};
  p.drawPolyline(zig, 5);
  p.setPen(QPen(kInk, 1));
}

QIcon DrawnIcon(int command) {
  switch (command) {
    case cmd::kFileNew:
      return Drawn([](QPainter& p) { Page(p, 4, 1, 13, 18); });
    case cmd::kFileOpen:
      return Drawn([](QPainter& p) {
        p.setBrush(kFolder);
        p.drawRect(QRectF(1.5, 5.5, 17, 12));
        p.drawRect(QRectF(1.5, 3.5, 7, 2));
        Arrow(p, {12, 3}, {18, 8}, kBlue);
      });
    case cmd::kFileSave:
      return Drawn([](QPainter& p) {
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(2.5, 1.5, 17, 17), 2, 2);
        p.setBrush(kPaper);
        p.drawRect(QRectF(5.5, 2.5, 11, 6));
        p.setBrush(QColor(0xA0, 0xA0, 0xA0));
        p.drawRect(QRectF(6.5, 12.5, 9, 6));
      });
    case cmd::kImportDesign:
      return Drawn([](QPainter& p) {
        Page(p, 7, 1, 13, 18);
        Stitches(p, 9, 12, kGreen);
        Arrow(p, {1, 6}, {11, 6}, kBlue);
      });
    case cmd::kMonogram:
      return Drawn([](QPainter& p) {
        QFont font("Serif");
        font.setPixelSize(18);
        font.setBold(true);
        font.setItalic(true);
        p.setFont(font);
        p.setPen(kRed);
        p.drawText(QRect(0, 0, kIconWidth, kIconHeight), Qt::AlignCenter, "A");
      });
    case cmd::kCopy:
      return Drawn([](QPainter& p) {
        Page(p, 2, 1, 11, 13);
        Page(p, 9, 6, 11, 13);
      });
    case cmd::kPaste:
      return Drawn([](QPainter& p) {
        p.setBrush(QColor(0xB0, 0x80, 0x40));
        p.drawRoundedRect(QRectF(2.5, 2.5, 13, 16), 1.5, 1.5);
        p.setBrush(QColor(0x90, 0x90, 0x90));
        p.drawRect(QRectF(6.5, 1.5, 5, 3));
        Page(p, 10, 7, 10, 13);
      });
    case cmd::kRotate90:
      return Drawn([](QPainter& p) {
        p.setPen(QPen(kBlue, 2));
        p.drawArc(QRectF(3, 3, 15, 15), 90 * 16, -270 * 16);
        Arrow(p, {6, 4.5}, {10.5, 3}, kBlue);
      });
    case cmd::kFlipVertical:
      return Drawn([](QPainter& p) {
        p.setBrush(kBlue);
        const QPointF top[3] = {{4, 8}, {18, 8}, {11, 1}};
        p.drawPolygon(top, 3);
        p.setBrush(kPaper);
        const QPointF bottom[3] = {{4, 12}, {18, 12}, {11, 19}};
        p.drawPolygon(bottom, 3);
        p.setPen(QPen(kInk, 1, Qt::DashLine));
        p.drawLine(1, 10, 21, 10);
      });
    case cmd::kFlipHorizontal:
      return Drawn([](QPainter& p) {
        p.setBrush(kBlue);
        const QPointF left[3] = {{9, 3}, {9, 17}, {2, 10}};
        p.drawPolygon(left, 3);
        p.setBrush(kPaper);
        const QPointF right[3] = {{13, 3}, {13, 17}, {20, 10}};
        p.drawPolygon(right, 3);
        p.setPen(QPen(kInk, 1, Qt::DashLine));
        p.drawLine(11, 0, 11, 20);
      });
    case cmd::kUndo:
      return Drawn([](QPainter& p) {
        p.setPen(QPen(kBlue, 2));
        p.drawArc(QRectF(5, 5, 14, 12), 90 * 16, -200 * 16);
        Arrow(p, {11, 5}, {4, 5}, kBlue);
      });
    case cmd::kDelete:
      return Drawn([](QPainter& p) {
        p.setPen(QPen(kRed, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(5, 4, 17, 16);
        p.drawLine(17, 4, 5, 16);
      });
    case cmd::kFilePrint:
      return Drawn([](QPainter& p) {
        Page(p, 6, 1, 10, 8);
        p.setBrush(QColor(0xA0, 0xA0, 0xA0));
        p.drawRoundedRect(QRectF(1.5, 8.5, 19, 8), 1.5, 1.5);
        Page(p, 6, 13, 10, 6);
      });
    case cmd::kSendDesigns:
      return Drawn([](QPainter& p) {
        // A sewing machine's head and bed, with the designs going to it.
        p.setBrush(QColor(0xE0, 0xE0, 0xE0));
        p.drawRect(QRectF(8.5, 3.5, 12, 5));
        p.drawRect(QRectF(8.5, 3.5, 3, 12));
        p.drawRect(QRectF(6.5, 15.5, 15, 3));
        p.drawLine(QPointF(18.5, 8.5), QPointF(18.5, 12.5));
        Arrow(p, {0, 11}, {7, 11}, kGreen);
      });
    case cmd::kWriteDesigns:
      return Drawn([](QPainter& p) {
        // A PC card with its connector edge.
        p.setBrush(QColor(0x50, 0x50, 0x60));
        p.drawRoundedRect(QRectF(5.5, 2.5, 12, 17), 1.5, 1.5);
        p.setBrush(QColor(0xD0, 0xB0, 0x40));
        p.drawRect(QRectF(7.5, 16.5, 8, 2));
        p.setBrush(kPaper);
        p.drawRect(QRectF(7.5, 4.5, 8, 6));
        Arrow(p, {11.5, 0}, {11.5, 8}, kRed);
      });
    case cmd::kZoomTool:
      return Drawn([](QPainter& p) {
        p.setPen(QPen(kInk, 2));
        p.setBrush(QColor(0xD8, 0xEC, 0xFF));
        p.drawEllipse(QRectF(2, 2, 12, 12));
        p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(13, 13, 19, 19);
      });
    default:
      return {};
  }
}

// The icon theme's name for a button that does a standard action.
const char* ThemeName(int command) {
  switch (command) {
    case cmd::kFileNew: return "document-new";
    case cmd::kFileOpen: return "document-open";
    case cmd::kFileSave: return "document-save";
    case cmd::kCopy: return "edit-copy";
    case cmd::kPaste: return "edit-paste";
    case cmd::kUndo: return "edit-undo";
    case cmd::kDelete: return "edit-delete";
    case cmd::kFilePrint: return "document-print";
    case cmd::kZoomTool: return "zoom-in";
    default: return nullptr;
  }
}

}  // namespace

QIcon ToolbarIcon(int command) {
  const QIcon drawn = DrawnIcon(command);
  const char* name = ThemeName(command);
  if (!name) return drawn;
  return QIcon::fromTheme(name, drawn);
}

}  // namespace hooplayout_ui
