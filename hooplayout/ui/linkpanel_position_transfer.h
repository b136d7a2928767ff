#pragma once

// Where Vantle's position files go: Linkpanel's Send Designs dialog, or the card writer.

#include <QWidget>

#include "design/card/card_volumes.h"
#include "design/card/machine_version.h"
#include "hooplayout/position_send.h"

namespace hooplayout_ui {

class LinkpanelPositionTransfer : public hooplayout::PositionTransfer {
 public:
  LinkpanelPositionTransfer(QWidget* owner, card::CardVolumes& volumes,
                            card::MachineVersion& version)
      : owner_(owner), volumes_(volumes), version_(version) {}

  // The first design over the older machine program's limit asks for the version once.
  hooplayout::SendOutcome SendList(const std::filesystem::path& listFile) override;
  // True only when the dialog ended with Write and every listed design reached the card.
  bool WriteListToCard(const std::filesystem::path& listFile) override;

 private:
  QWidget* owner_;
  card::CardVolumes& volumes_;
  card::MachineVersion& version_;
};

}  // namespace hooplayout_ui
