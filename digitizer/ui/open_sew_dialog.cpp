#include "digitizer/ui/open_sew_dialog.h"

#include <QButtonGroup>
#include <QFileInfo>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/clock.h"

namespace digitizer_ui {

COpenSew::COpenSew(QWidget* parent, std::span<uint8_t> buffer, const QString& initialName, const QString& filter)
    : PreviewFileDialog(parent, true, digitizer::kSewDialogTitle, filter, initialName, {".sew", ".bmp"}),
      preview_(buffer) {
  auto* group = new QButtonGroup(this);
  hoop_[0] = new QRadioButton("Standard Hoop", this);
  hoop_[1] = new QRadioButton("Large Hoop", this);
  hoop_[0]->setChecked(true);
  for (int choice = 0; choice < 2; ++choice) {
    group->addButton(hoop_[choice], kStandardHoopId + choice);
    SideLayout()->addWidget(hoop_[choice]);
    connect(hoop_[choice], &QRadioButton::clicked, this, [this] {
      // A new hoop previews the same file again.
      Selection().Forget();
      const QStringList chosen = selectedFiles();
      if (!chosen.isEmpty()) NameChanged(chosen.front());
    });
  }
  area_ = AddPreviewArea(kPreviewWidth, kPreviewHeight);
}

int COpenSew::HoopChoice() const { return hoop_[1]->isChecked() ? 1 : 0; }

void COpenSew::LoadPreview(const std::filesystem::path& path) { preview_.Load(path, HoopChoice() == 1); }
void COpenSew::ClearPreview() { preview_.Clear(); }
void COpenSew::PreviewSwitchedOff() { Repaint(); }

void COpenSew::Repaint() {
  PaintPreview(area_, [this](platform::Canvas& canvas, int width, int height) {
    preview_.Draw(canvas, width, height);
  });
}

void COpenSew::accept() {
  const QStringList chosen = selectedFiles();
  if (!chosen.isEmpty() && QFileInfo(chosen.front()).isDir()) {
    QFileDialog::accept();  // opens the folder
    return;
  }
  // The preview may be off or the name typed: the file is read now whatever the preview showed.
  if (!chosen.isEmpty()) preview_.Load(chosen.front().toStdString(), HoopChoice() == 1);
  if (preview_.ConfirmName(platform::GetClock()) == digitizer::SewPreview::OkOutcome::kStayOpen) return;
  hoop_[preview_.LargeHoop() ? 1 : 0]->setChecked(true);
  QFileDialog::accept();
}

}  // namespace digitizer_ui
