#include "digitizer/machine_commands.h"

#include "digitizer/pictorel_commands.h"
#include "platform/message_box.h"
#include "platform/profile.h"

namespace digitizer {

namespace {

constexpr char kFolderSection[] = "Design Path";
constexpr char kQnfListKey[] = "QnfList";
constexpr char kCardExtension[] = ".qnf";

constexpr uint64_t kFileTimeUnitsPerSecond = 10000000;
constexpr int64_t kSecondsPerDay = 86400;

// Days from 1 January 1601 to the date (proleptic Gregorian calendar).
int64_t DaysSince1601(int year, int month, int day) {
  const int y = year - (month <= 2 ? 1 : 0);
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const int64_t daysSince1970 = era * 146097 + doe - 719468;
  constexpr int64_t k1601To1970 = 134774;
  return daysSince1970 + k1601To1970;
}

}  // namespace

uint64_t FileTimeOf(const platform::LocalTime& time) {
  const int64_t days = DaysSince1601(time.year, time.month, time.day);
  if (days < 0) return 0;
  const int64_t seconds = days * kSecondsPerDay + time.hour * 3600 + time.minute * 60 + time.second;
  return static_cast<uint64_t>(seconds) * kFileTimeUnitsPerSecond;
}

MachineCommands::MachineCommands(CImportDoc& doc, PictorelLink& link, MachineDialogs& dialogs,
                                 card::CardVolumes& volumes, MainFrameLink& frame, std::filesystem::path workFolder,
                                 std::function<uint64_t()> now, std::function<void()> redraw)
    : doc_(doc),
      link_(link),
      dialogs_(dialogs),
      volumes_(volumes),
      frame_(frame),
      workFolder_(std::move(workFolder)),
      now_(std::move(now)),
      redraw_(std::move(redraw)) {}

platform::CommandState MachineCommands::QueryCommand(int id) const {
  switch (id) {
    case cmd::kSendDesign:
    case cmd::kSendDesigns:
    case cmd::kSendDesignsDesigns:
    case cmd::kReceiveDesigns:
    case cmd::kDeleteDesigns:
    case cmd::kSerialSettings:
    case cmd::kSelectVersion:
    case cmd::kCardWriteDesign:
    case cmd::kCardManager:
    case cmd::kCardManagerDesigns:
      return {true, true, false};
    default:
      return {};
  }
}

void MachineCommands::ShowStitchCount() {
  frame_.UpdateStatusPanes(-1, -1, -1, -1, -1, doc_.Design().GetOutputCount());
}

void MachineCommands::OnSendDesign() {
  platform::Profile profile(CImportDoc::kProgram);
  int tag = profile.GetInt(kHugeSizeSection, kHugeSizeKey, kDefaultHugeTag);
  const int before = tag;
  CPictorelSender sender(doc_.Design(), link_, workFolder_, owner_);
  if (!sender.SendDesign(doc_.PathName().string(), doc_.Title(), tag)) return;
  if (tag != before) profile.WriteInt(kHugeSizeSection, kHugeSizeKey, tag);
  ShowStitchCount();
  if (redraw_) redraw_();
}

void MachineCommands::OnCardWriteDesign() {
  CStitchDesign& design = doc_.Design();
  const int32_t limit = MachinePairLimit(design, link_, owner_);
  if (limit == 0) return;
  const std::filesystem::path path = doc_.PathName();
  const std::string name =
      path.empty() ? MakeCardFileName(now_ ? now_() : 0) : path.stem().string() + kCardExtension;
  const bool split = design.GetStitchCount() > limit;
  if (split && platform::MessageBox(owner_, kCardSplitText, kConfirmationCaption,
                                    platform::kMbOkCancel | platform::kMbIconInformation) != platform::kIdOk) {
    return;
  }
  const auto chosen = dialogs_.ChooseCardWrite(name);
  if (!chosen) return;
  CardDrivePictorelCard card(volumes_, chosen->drive, owner_);
  if (split) {
    platform::Profile profile(CImportDoc::kProgram);
    int tag = profile.GetInt(kHugeSizeSection, kHugeSizeKey, kDefaultHugeTag);
    if (WritePiecesToCard(design, card, chosen->choice, limit, tag, owner_)) {
      profile.WriteInt(kHugeSizeSection, kHugeSizeKey, tag);
    }
  } else {
    WriteDesignToCard(design, card, chosen->choice, owner_);
  }
  ShowStitchCount();
}

void MachineCommands::RunCommand(int id) {
  switch (id) {
    case cmd::kSendDesign: OnSendDesign(); return;
    case cmd::kCardWriteDesign: OnCardWriteDesign(); return;
    default: break;
  }
  platform::Profile profile(CImportDoc::kProgram);
  const std::string programFolder = doc_.StartFolder(kQnfListKey).string();
  int result = 1;
  switch (id) {
    case cmd::kSendDesigns:
    case cmd::kSendDesignsDesigns: {
      // The folder the send dialog ended in, changed or not, is where it opens next time.
      std::string folder = programFolder;
      result = dialogs_.SendFiles(folder);
      profile.WriteString(kFolderSection, kQnfListKey, folder);
      break;
    }
    case cmd::kReceiveDesigns: result = dialogs_.ReceiveDesigns(); break;
    case cmd::kDeleteDesigns: result = dialogs_.DeleteDesigns(); break;
    case cmd::kSerialSettings: result = dialogs_.SerialSettings(); break;
    case cmd::kSelectVersion: dialogs_.SelectVersion(); break;
    case cmd::kCardManager:
    case cmd::kCardManagerDesigns: {
      const std::string folder = dialogs_.ManageCard(programFolder);
      if (!folder.empty()) profile.WriteString(kFolderSection, kQnfListKey, folder);
      break;
    }
    default: return;
  }
  if (result == 0) platform::MessageBox(owner_, kDialogFailureText, "", platform::kMbOk);
  if (redraw_ && id != cmd::kSerialSettings && id != cmd::kSelectVersion) redraw_();
}

}  // namespace digitizer
