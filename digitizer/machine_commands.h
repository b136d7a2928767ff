#pragma once

// The main frame's machine and card commands without a screen: Send a Design (whole or in
// pieces), the Linkpanel dialogs for sending files, receiving, deleting, the link settings and
// the machine's version, Write a Design onto the ATA PC card (whole or in pieces), and the
// card manager. The dialogs are asked through MachineDialogs; the program shows the real
// ones, tests script them.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "design/card/card_volumes.h"
#include "digitizer/import_doc.h"
#include "digitizer/main_frame_rules.h"
#include "digitizer/pictorel_send.h"
#include "digitizer/pictorel_send_card.h"
#include "platform/clock.h"
#include "platform/command_router.h"

namespace digitizer {

// What "Write a Design" chose: the drive's mount point and the rest of the choice.
struct CardDialogChoice {
  std::filesystem::path drive;
  CardWriteChoice choice;
};

class MachineDialogs {
 public:
  virtual ~MachineDialogs() = default;
  // Linkpanel's dialogs; each its own result (0: the dialog could not be made).
  virtual int SendFiles(std::string& folder) = 0;
  virtual int ReceiveDesigns() = 0;
  virtual int DeleteDesigns() = 0;
  virtual int SerialSettings() = 0;
  virtual void SelectVersion() = 0;
  // "Write a Design" opened with the proposed name; nothing on Cancel.
  virtual std::optional<CardDialogChoice> ChooseCardWrite(const std::string& name) = 0;
  // The card manager opened in the folder; the folder chosen last, empty for none.
  virtual std::string ManageCard(const std::string& folder) = 0;
};

// A local time as a 64-bit file time: 100-ns units since 1 January 1601.
uint64_t FileTimeOf(const platform::LocalTime& time);

class MachineCommands : public platform::CommandTarget {
 public:
  // workFolder: where the send list and the piece files are written. now: the local time as a
  // 64-bit file time, for the name of a card design that has none.
  MachineCommands(CImportDoc& doc, PictorelLink& link, MachineDialogs& dialogs, card::CardVolumes& volumes,
                  MainFrameLink& frame, std::filesystem::path workFolder, std::function<uint64_t()> now,
                  std::function<void()> redraw);

  void SetOwner(platform::WindowHandle owner) { owner_ = owner; }

  platform::CommandState QueryCommand(int id) const override;
  void RunCommand(int id) override;

  void OnSendDesign();
  void OnCardWriteDesign();

 private:
  void ShowStitchCount();

  CImportDoc& doc_;
  PictorelLink& link_;
  MachineDialogs& dialogs_;
  card::CardVolumes& volumes_;
  MainFrameLink& frame_;
  std::filesystem::path workFolder_;
  std::function<uint64_t()> now_;
  std::function<void()> redraw_;
  platform::WindowHandle owner_ = nullptr;
};

}  // namespace digitizer
