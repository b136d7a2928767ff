#include "hooplayout/ui/help_view.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <vector>

namespace hooplayout_ui {

namespace {

constexpr int kPaneSide = 700;  // scroll size, both ways
constexpr int kTextX = 225;
constexpr int kNoteHeadingX = 230;
constexpr int kNoteLineX = 235;
constexpr int kMarkerSide = 16;
constexpr int kFontPoints = 9;
constexpr int kRightMargin = 10;

enum class Piece { kText, kBold, kMarkerA, kMarkerB };

struct LinePiece {
  Piece kind;
  const char* text = "";
};

struct HelpLine {
  int x;
  int y;
  std::vector<LinePiece> pieces;
};

const std::vector<HelpLine>& HelpLines() {
  static const std::vector<HelpLine> lines{
      {kTextX, 10, {{Piece::kBold, "How to make an Embroidery Design:"}}},
      {kTextX, 30, {{Piece::kText, "1. Import designs in SEW (*.sew) or QNF (*qnf) file from Tessaly Designs folder"}}},
      {kTextX, 50, {{Piece::kText, "   or Halvora 7000."}}},
      {kTextX, 70,
       {{Piece::kText, "2. Layout the embroidery designs "},
        {Piece::kMarkerA},
        {Piece::kText, " in the embroidery sewing space A as in Fig.1."}}},
      {kTextX, 90,
       {{Piece::kText, "3. Layout the embroidery designs "},
        {Piece::kMarkerB},
        {Piece::kText, " in the embroidery sewing space B as in Fig.2."}}},
      {kNoteHeadingX, 110, {{Piece::kBold, "Note:"}}},
      {kNoteLineX, 130,
       {{Piece::kText, "If the design pattern extends over both dotted boundary lines, the pattern will turn"}}},
      {kNoteLineX, 150,
       {{Piece::kText, "gray and the caution window will ask you to move the pattern to the left or to the"}}},
      {kNoteLineX, 170, {{Piece::kText, "right."}}},
      {kTextX, 210, {{Piece::kBold, "How to sew the embroidery designs with the Maxiframe:"}}},
      {kTextX, 230, {{Piece::kText, "1. Connect Halvora 7000 to your PC."}}},
      {kTextX, 250, {{Piece::kText, "2. Turn on the power of the sewing machine and press the PC-LINK key."}}},
      {kTextX, 270,
       {{Piece::kText, "3. Choose "},
        {Piece::kBold, "Send Designs"},
        {Piece::kText, " from the "},
        {Piece::kBold, "Halvora menu"},
        {Piece::kText, " or click the "},
        {Piece::kBold, "Send icon"}}},
      {kTextX, 290, {{Piece::kText, "   on the toolbar to transfer the embroidery patterns to the sewing machine."}}},
      {kNoteHeadingX, 310, {{Piece::kBold, "Note:"}}},
      {kNoteLineX, 330,
       {{Piece::kText, "The design patterns in sewing space A will be transferred as embroidery designs 1."}}},
      {kNoteLineX, 350,
       {{Piece::kText, "The design patterns in sewing space B will be transferred as embroidery designs 2."}}},
      {kTextX, 370, {{Piece::kText, "4. The transferred embroidery designs 1 and 2 will be displayed on the sewing "}}},
      {kTextX, 390, {{Piece::kText, "   machine screen."}}},
      {kTextX, 410,
       {{Piece::kText, "5. Select embroidery design 1 and set the Maxiframe with side "},
        {Piece::kMarkerA},
        {Piece::kText, " on the carriage."}}},
      {kTextX, 430,
       {{Piece::kText, "6. Next, turnover the Maxiframe and set it to the machine with side "},
        {Piece::kMarkerB},
        {Piece::kText, " from side "},
        {Piece::kMarkerA}}},
      {kTextX, 450, {{Piece::kText, "   and sew."}}},
      {kNoteHeadingX, 490, {{Piece::kBold, "Note:"}}},
      {kTextX, 510, {{Piece::kText, "Refer to the instructional sheet included in the Maxiframe for more details."}}},
  };
  return lines;
}

// The note lines' marks: small dotted circles at x 230.
constexpr int kNoteMarkYs[] = {135, 335, 355};

const QColor kMarkerAColour(0xC0, 0x30, 0x30);
const QColor kMarkerBColour(0x30, 0x50, 0xC0);
const QColor kSpaceFill(0xFF, 0xF0, 0xB0);

// A side marker: a coloured square with its letter, 16 by 16.
void DrawMarker(QPainter& painter, int x, int y, bool sideA) {
  const QRect box(x, y, kMarkerSide, kMarkerSide);
  painter.save();
  painter.setPen(Qt::NoPen);
  painter.setBrush(sideA ? kMarkerAColour : kMarkerBColour);
  painter.drawRoundedRect(box.adjusted(1, 1, -1, -1), 3, 3);
  QFont font = painter.font();
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(box, Qt::AlignCenter, sideA ? "A" : "B");
  painter.restore();
}

// The Maxiframe from above, in the box: its 230 by 200 mm field, the two sewing spaces'
// inner edges dotted, and the space of side (A on the right, B on the left) shaded.
void DrawFrameFigure(QPainter& painter, const QRect& box, bool sideA, const char* caption) {
  painter.save();
  const int width = box.width() - 30;
  const int height = width * 200 / 230;
  const QRect frame(box.left() + 10, box.top() + 24, width, height);
  // The hoop's outer rim and its clamp at the top.
  painter.setPen(QPen(Qt::black, 2));
  painter.setBrush(QColor(0xE8, 0xE8, 0xE8));
  painter.drawRoundedRect(frame.adjusted(-8, -8, 8, 8), 10, 10);
  painter.setBrush(QColor(0x90, 0x90, 0x90));
  painter.drawRect(QRect(frame.center().x() - 25, frame.top() - 20, 50, 10));
  painter.setBrush(Qt::white);
  painter.drawRect(frame);
  // Space A covers 180..460 of the 460 layout units, space B 0..280.
  const int edgeA = frame.left() + width * 180 / 460;
  const int edgeB = frame.left() + width * 280 / 460;
  const QRect space = sideA ? QRect(QPoint(edgeA, frame.top()), frame.bottomRight())
                            : QRect(frame.topLeft(), QPoint(edgeB, frame.bottom()));
  painter.fillRect(space.adjusted(1, 1, 0, 0), kSpaceFill);
  painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
  painter.drawLine(edgeA, frame.top(), edgeA, frame.bottom());
  painter.drawLine(edgeB, frame.top(), edgeB, frame.bottom());
  // A small design in the shaded space.
  painter.setPen(QPen(sideA ? kMarkerAColour : kMarkerBColour, 2));
  const QPoint centre = space.center();
  painter.drawEllipse(centre, 18, 18);
  painter.drawLine(centre + QPoint(-12, 0), centre + QPoint(12, 0));
  painter.drawLine(centre + QPoint(0, -12), centre + QPoint(0, 12));
  DrawMarker(painter, sideA ? frame.right() - kMarkerSide - 4 : frame.left() + 4, frame.bottom() - kMarkerSide - 4,
             sideA);
  painter.setPen(Qt::black);
  painter.drawText(QRect(box.left(), frame.bottom() + 12, box.width() - 10, 18), Qt::AlignHCenter, caption);
  painter.restore();
}

// The machine's carriage with the Maxiframe set on it, side A towards the needle.
void DrawMachineFigure(QPainter& painter, const QRect& box) {
  painter.save();
  painter.setPen(QPen(Qt::black, 2));
  painter.setBrush(QColor(0xF4, 0xF4, 0xF4));
  // The machine's body: arm, head and bed.
  QPainterPath body;
  body.moveTo(box.left() + 20, box.top() + 150);
  body.lineTo(box.left() + 20, box.top() + 40);
  body.quadTo(box.left() + 20, box.top() + 20, box.left() + 40, box.top() + 20);
  body.lineTo(box.left() + 170, box.top() + 20);
  body.lineTo(box.left() + 170, box.top() + 80);
  body.lineTo(box.left() + 60, box.top() + 80);
  body.lineTo(box.left() + 60, box.top() + 150);
  body.closeSubpath();
  painter.drawPath(body);
  painter.drawRect(QRect(box.left() + 5, box.top() + 150, 190, 25));
  // The needle bar under the head.
  painter.drawLine(box.left() + 150, box.top() + 80, box.left() + 150, box.top() + 110);
  // The Maxiframe on the carriage, seen from the front.
  painter.setBrush(Qt::white);
  painter.drawRect(QRect(box.left() + 80, box.top() + 115, 110, 30));
  painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
  painter.drawLine(box.left() + 120, box.top() + 115, box.left() + 120, box.top() + 145);
  painter.drawLine(box.left() + 150, box.top() + 115, box.left() + 150, box.top() + 145);
  DrawMarker(painter, box.left() + 84, box.top() + 122, true);
  DrawMarker(painter, box.left() + 170, box.top() + 122, false);
  painter.restore();
}

}  // namespace

CHelpView::CHelpView(QWidget* parent) : QAbstractScrollArea(parent) {
  viewport()->setAutoFillBackground(false);
  // The keyboard stays with the layout view.
  setFocusPolicy(Qt::NoFocus);
  UpdateScrollRanges();
}

// The pane is 700 wide unless the desktop's font makes a line run further.
int CHelpView::ContentWidth() const {
  QFont normal = font();
  normal.setPointSize(kFontPoints);
  QFont bold = normal;
  bold.setWeight(QFont::Bold);
  int widest = kPaneSide;
  for (const HelpLine& line : HelpLines()) {
    int x = line.x;
    for (const LinePiece& piece : line.pieces) {
      if (piece.kind == Piece::kMarkerA || piece.kind == Piece::kMarkerB) {
        x += kMarkerSide;
        continue;
      }
      x += QFontMetrics(piece.kind == Piece::kBold ? bold : normal).horizontalAdvance(QString::fromUtf8(piece.text));
    }
    widest = std::max(widest, x + kRightMargin);
  }
  return widest;
}

void CHelpView::UpdateScrollRanges() {
  const QSize client = viewport()->size();
  horizontalScrollBar()->setRange(0, std::max(0, ContentWidth() - client.width()));
  verticalScrollBar()->setRange(0, std::max(0, kPaneSide - client.height()));
  horizontalScrollBar()->setPageStep(client.width());
  verticalScrollBar()->setPageStep(client.height());
}

void CHelpView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), Qt::white);
  painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
  painter.setRenderHint(QPainter::Antialiasing);

  DrawFrameFigure(painter, QRect(5, 5, 230, 230), true, "Fig.1");
  DrawFrameFigure(painter, QRect(5, 235, 220, 230), false, "Fig.2");
  DrawMachineFigure(painter, QRect(10, 470, 200, 230));

  QFont normal = painter.font();
  normal.setPointSize(kFontPoints);
  normal.setWeight(QFont::Normal);
  QFont bold = normal;
  bold.setWeight(QFont::Bold);
  painter.setPen(Qt::black);
  for (const HelpLine& line : HelpLines()) {
    int x = line.x;
    for (const LinePiece& piece : line.pieces) {
      if (piece.kind == Piece::kMarkerA || piece.kind == Piece::kMarkerB) {
        // The marker stands on the text line; the next piece follows 16 further on.
        DrawMarker(painter, x, line.y, piece.kind == Piece::kMarkerA);
        x += kMarkerSide;
        continue;
      }
      const QFont& font = piece.kind == Piece::kBold ? bold : normal;
      painter.setFont(font);
      const QFontMetrics metrics(font);
      // Lines are placed by their top, as text is on the layout's own windows.
      painter.drawText(x, line.y + metrics.ascent(), QString::fromUtf8(piece.text));
      x += metrics.horizontalAdvance(QString::fromUtf8(piece.text));
    }
  }
  painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
  painter.setBrush(Qt::NoBrush);
  for (int y : kNoteMarkYs) painter.drawEllipse(QPoint(kNoteHeadingX, y), 2, 2);
}

void CHelpView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollRanges();
}

void CHelpView::ActivateLayout() {
  if (activateLayout_) activateLayout_();
}

void CHelpView::scrollContentsBy(int, int) {
  ActivateLayout();
  viewport()->update();
}

void CHelpView::mousePressEvent(QMouseEvent* event) {
  ActivateLayout();
  QAbstractScrollArea::mousePressEvent(event);
}

void CHelpView::mouseDoubleClickEvent(QMouseEvent* event) {
  ActivateLayout();
  QAbstractScrollArea::mouseDoubleClickEvent(event);
}

void CHelpView::wheelEvent(QWheelEvent* event) {
  ActivateLayout();
  QAbstractScrollArea::wheelEvent(event);
}

}  // namespace hooplayout_ui
