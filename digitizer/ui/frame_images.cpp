#include "digitizer/ui/frame_images.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <cmath>

#include "digitizer/pictorel_commands.h"
#include "digitizer/picture_view_commands.h"

namespace digitizer_ui {

namespace cmd = digitizer::cmd;
namespace pcmd = digitizer::pview_cmd;

namespace {

constexpr int kAnimationFrames = 8;
constexpr int kAnimationStepMs = 120;
constexpr int kAnimationSide = 20;

// Theme names of the desktop's standard actions.
const char* ThemeName(int id) {
  switch (id) {
    case cmd::kFileNew: return "document-new";
    case cmd::kFileOpen: return "document-open";
    case cmd::kFileSaveAs: return "document-save-as";
    case pcmd::kEditCopy: return "edit-copy";
    case pcmd::kEditPaste: return "edit-paste";
    case cmd::kZoomDrawing: return "zoom-in";
    case cmd::kZoomStitchImage: return "zoom-original";
    default: return nullptr;
  }
}

void DrawOwnImage(QPainter& p, int id) {
  const QPen dark(QColor(40, 40, 40), 1.5);
  p.setPen(dark);
  switch (id) {
    case pcmd::kOutline:  // a traced outline
      p.drawEllipse(QRectF(4, 4, 14, 13));
      break;
    case pcmd::kPencil:
      p.setBrush(QColor(240, 200, 60));
      p.drawPolygon(QPolygonF({QPointF(4, 17), QPointF(7, 18), QPointF(18, 7), QPointF(15, 4), QPointF(4, 15)}));
      break;
    case pcmd::kEraser:
      p.setBrush(QColor(240, 150, 170));
      p.drawRect(QRectF(4, 8, 14, 7));
      break;
    case pcmd::kFill:  // a weave fill
      for (int x = 4; x < 20; x += 3) p.drawLine(x, 4, x, 17);
      break;
    case pcmd::kLine:
      p.drawLine(3, 16, 19, 5);
      break;
    case pcmd::kAllLines:
      for (int y = 5; y < 18; y += 4) p.drawLine(3, y, 19, y);
      break;
    case pcmd::kRegister:  // a tick on a region
      p.setBrush(QColor(120, 180, 240));
      p.drawRect(QRectF(3, 3, 16, 15));
      p.setPen(QPen(Qt::darkGreen, 2));
      p.drawPolyline(QPolygonF({QPointF(6, 10), QPointF(10, 14), QPointF(16, 6)}));
      break;
    case cmd::kEditParts:  // parts as tiles
      p.setBrush(QColor(200, 120, 60));
      p.drawRect(QRectF(3, 3, 7, 6));
      p.setBrush(QColor(60, 140, 200));
      p.drawRect(QRectF(12, 3, 7, 6));
      p.setBrush(QColor(80, 170, 80));
      p.drawRect(QRectF(3, 12, 16, 6));
      break;
    case cmd::kMakeStitch: {  // a zigzag of stitches
      QPainterPath path(QPointF(3, 16));
      for (int i = 0; i < 5; ++i) path.lineTo(5 + i * 3.5, i % 2 == 0 ? 5 : 16);
      p.drawPath(path);
      break;
    }
    case cmd::kSendDesign:  // an arrow to the machine
      p.drawLine(3, 10, 17, 10);
      p.drawLine(12, 5, 17, 10);
      p.drawLine(12, 15, 17, 10);
      break;
    case pcmd::kEditCopy:  // two sheets
      p.drawRect(QRectF(3, 3, 10, 12));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(8, 7, 10, 12));
      break;
    case pcmd::kEditPaste:  // a clipboard with a sheet
      p.setBrush(QColor(200, 160, 90));
      p.drawRect(QRectF(3, 4, 13, 15));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(9, 8, 10, 11));
      break;
    case cmd::kZoomDrawing:
    case cmd::kZoomStitchImage:  // a lens
      p.drawEllipse(QRectF(3, 3, 11, 11));
      p.setPen(QPen(QColor(40, 40, 40), 2.5));
      p.drawLine(QPointF(13, 13), QPointF(19, 19));
      break;
    case cmd::kCardWriteDesign:  // a card
      p.setBrush(QColor(220, 220, 220));
      p.drawRect(QRectF(5, 3, 12, 15));
      p.drawLine(8, 6, 14, 6);
      break;
    default:
      p.drawRect(QRectF(4, 4, 14, 13));
      break;
  }
}

}  // namespace

QIcon ToolIcon(int commandId) {
  if (const char* theme = ThemeName(commandId); theme && QIcon::hasThemeIcon(theme)) {
    return QIcon::fromTheme(theme);
  }
  // Without a desktop theme the style's own pictures stand for the file actions.
  const QStyle* style = QApplication::style();
  switch (commandId) {
    case cmd::kFileNew: return style->standardIcon(QStyle::SP_FileIcon);
    case cmd::kFileOpen: return style->standardIcon(QStyle::SP_DialogOpenButton);
    case cmd::kFileSaveAs: return style->standardIcon(QStyle::SP_DialogSaveButton);
    default: break;
  }
  QPixmap image(kToolImageWidth, kToolImageHeight);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  DrawOwnImage(painter, commandId);
  return QIcon(image);
}

QPixmap ColorSwatchImage(QColor colour) {
  QPixmap image(kBarImageWidth, kBarImageHeight);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setPen(Qt::black);
  painter.drawRect(13, 2, 19, 17);
  painter.fillRect(QRect(QPoint(14, 3), QPoint(31, 18)), colour);
  return image;
}

QPixmap StitchTypeImage(int image, const std::string& text) {
  QPixmap picture(kBarImageWidth, kBarImageHeight);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(30, 30, 30), 1));
  const QRectF box(2, 3, 18, 16);
  painter.setClipRect(box);
  // A zigzag running across the box, its half-width in pixels.
  auto zigzag = [&painter](double amplitude) {
    QPainterPath path(QPointF(2, 11));
    for (int x = 4; x <= 20; x += 3) path.lineTo(x, 11 + ((x / 3) % 2 ? -amplitude : amplitude));
    painter.drawPath(path);
  };
  if (image >= 10 && image <= 15) {  // diagonal weave, 30 degrees a step
    const double angle = (image - 10) * 30.0 * M_PI / 180.0;
    const double dx = std::cos(angle) * 30;
    const double dy = -std::sin(angle) * 30;
    for (int k = -20; k <= 40; k += 4) {
      painter.drawLine(QPointF(2 + k - dx, 11 - dy), QPointF(2 + k + dx, 11 + dy));
    }
  } else if (image >= 16 && image <= 20) {  // zigzag, wider with the image
    zigzag(2 + (image - 16) * 1.5);
  } else if (image >= 6 && image <= 8) {  // the 2, 3 and 5 mm zigzags
    static constexpr double kHalfWidths[] = {2.0, 3.5, 6.0};
    zigzag(kHalfWidths[image - 6]);
  } else if (image >= 21 && image <= 25) {  // straight stitch, longer with the image
    QPen dash = painter.pen();
    dash.setDashPattern({2.0 + (image - 21), 1.5});
    painter.setPen(dash);
    painter.drawLine(2, 11, 20, 11);
  } else if (image == 0) {  // horizontal rows
    for (int y = 4; y < 19; y += 3) painter.drawLine(2, y, 20, y);
  } else if (image == 4) {  // satin: a column of close slanted stitches
    for (int y = 2; y < 19; y += 2) painter.drawLine(6, y, 16, y + 2);
  } else if (image == 2) {  // vertical rows
    for (int x = 3; x < 20; x += 3) painter.drawLine(x, 3, x, 19);
  } else if (image == 3) {  // cross stitch
    for (int x = 2; x < 20; x += 6) {
      painter.drawLine(x, 5, x + 5, 10);
      painter.drawLine(x + 5, 5, x, 10);
      painter.drawLine(x, 12, x + 5, 17);
      painter.drawLine(x + 5, 12, x, 17);
    }
  } else {
    painter.drawRect(box.adjusted(1, 1, -1, -1));
  }
  painter.setClipping(false);
  if (!text.empty()) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(12);
    font.setWeight(QFont::Thin);
    painter.setFont(font);
    painter.drawText(QRect(22, 4, kBarImageWidth - 22, kBarImageHeight - 4), Qt::AlignLeft | Qt::AlignTop,
                     QString::fromStdString(text));
  }
  return picture;
}

NeedleAnimation::NeedleAnimation(QWidget* parent) : QWidget(parent) {
  setFixedSize(kAnimationSide, kAnimationSide);
  connect(&timer_, &QTimer::timeout, this, [this] {
    frame_ = (frame_ + 1) % kAnimationFrames;
    update();
  });
  timer_.start(kAnimationStepMs);
}

void NeedleAnimation::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const int half = kAnimationFrames / 2;
  const double lift = (frame_ < half ? frame_ : kAnimationFrames - frame_) * 2.0;
  painter.setPen(QPen(QColor(90, 90, 90), 2));
  painter.drawLine(QPointF(10, 1 + lift), QPointF(10, 9 + lift));
  painter.setPen(QPen(QColor(200, 40, 40), 1));
  painter.drawLine(QPointF(2, 18), QPointF(18, 18));
}

}  // namespace digitizer_ui
