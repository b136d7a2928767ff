#include "design/ui/maker_links.h"

namespace design_ui {

namespace {

constexpr char kHomeLink[] = "<a href=\"https://velinor7000.example.org/\">velinor7000.example.org</a>";
constexpr char kSupportLink[] = "<a href=\"https://velinor7000.example.org/support/\">Support</a>";

}  // namespace

QLabel* MakerLinkLabel(MakerLink link, QWidget* parent) {
  auto* label = new QLabel(link == MakerLink::kHome ? kHomeLink : kSupportLink, parent);
  label->setTextFormat(Qt::RichText);
  label->setOpenExternalLinks(true);
  label->setCursor(Qt::PointingHandCursor);
  return label;
}

}  // namespace design_ui
