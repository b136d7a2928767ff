#include "digitizer/pictorel_send.h"

#include <utility>

#include "design/qnf_exporter.h"
#include "design/stitch_stream.h"
#include "digitizer/modify_stitch_rules.h"
#include "digitizer/pictorel_send_piece.h"
#include "link/transfer_list.h"
#include "platform/file_io.h"

namespace digitizer {

namespace {

constexpr char kFirstTag = '1';
constexpr char kLastTag = '9';
constexpr char kDesignExtension[] = ".qnf";

// The design's count stops at the format's most pairs: a stream with no end pair within
// them is longer than the format allows.
bool PassesTheFormat(const CStitchDesign& design, int32_t pairs) {
  if (pairs < kMaxDesignPairs) return false;
  const uint8_t* last = design.Record()->Stitches() + 2 * static_cast<std::size_t>(kMaxDesignPairs - 1);
  return !design::IsControl(last, design::kEnd);
}

}  // namespace

char ValidHugeTag(int stored) {
  if (stored < kFirstTag || stored > kLastTag) return kFirstTag;
  return static_cast<char>(stored);
}

char NextHugeTag(int stored) {
  if (stored < kFirstTag || stored >= kLastTag) return kFirstTag;
  return static_cast<char>(stored + 1);
}

std::string SendDesignName(const std::string& documentPath) {
  if (documentPath.empty()) return {};
  return std::filesystem::path(documentPath).filename().replace_extension("qnf").string();
}

std::filesystem::path PieceFilePath(const std::filesystem::path& folder, const std::string& documentTitle,
                                    int pieceNo) {
  const std::string title = std::filesystem::path(documentTitle).stem().string();
  return folder / (title + "#" + std::to_string(pieceNo) + kDesignExtension);
}

std::string MakeCardFileName(uint64_t fileTime) {
  constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::string reversed;
  do {
    reversed.push_back(kDigits[fileTime % 36]);
    fileTime /= 36;
  } while (fileTime != 0);
  return std::string(reversed.rbegin(), reversed.rend()) + kDesignExtension;
}

int32_t MachinePairLimit(const CStitchDesign& design, PictorelLink& link, platform::WindowHandle owner) {
  const int32_t pairs = design.GetStitchCount();
  if (pairs <= 0) {
    platform::MessageBox(owner, kNoDesignText, kConfirmCaption, platform::kMbOk | platform::kMbIconError);
    return 0;
  }
  if (PassesTheFormat(design, pairs)) {
    platform::MessageBox(owner, kTooManyStitchesText, kConfirmCaption, platform::kMbOk | platform::kMbIconError);
    return 0;
  }
  if (!design.IsInsideHoop()) {
    ShowHoopLimit(owner);
    return 0;
  }
  if (pairs > kOlderMachineLimit && link.CheckVersion(owner, 0) != 1) return 0;
  return link.VersionCode() == kNewerMachineVersion ? kNewerMachineLimit : kOlderMachineLimit;
}

CPictorelSender::CPictorelSender(CStitchDesign& design, PictorelLink& link, std::filesystem::path folder,
                                 platform::WindowHandle owner)
    : design_(design), link_(link), folder_(std::move(folder)), owner_(owner) {}

void CPictorelSender::Say(const char* text, const char* caption, unsigned flags) {
  platform::MessageBox(owner_, text, caption, flags);
}

bool CPictorelSender::SendDesign(const std::string& documentPath, const std::string& documentTitle, int& hugeTag) {
  const int32_t limit = MachinePairLimit(design_, link_, owner_);
  if (limit == 0) return false;
  const int32_t pairs = design_.GetStitchCount();
  if (pairs > limit) return SendPieces(documentTitle, limit, hugeTag);

  std::vector<uint8_t> image;
  if (design_.BuildQnfImage(pairs, image) == 0) {
    Say(kFileErrorText, kErrorCaption, platform::kMbOk | platform::kMbIconError);
    return false;
  }
  if (link_.DirectDownload(owner_, image, SendDesignName(documentPath)) == 0) {
    Say(kDialogFailureText, "", platform::kMbOk);
  }
  return true;
}

bool CPictorelSender::SendPieces(const std::string& documentTitle, int32_t limit, int& hugeTag) {
  if (platform::MessageBox(owner_, kSplitSendText, kConfirmationCaption,
                           platform::kMbOkCancel | platform::kMbIconInformation) != platform::kIdOk) {
    return false;
  }
  const char tag = ValidHugeTag(hugeTag);
  const std::filesystem::path listPath = folder_ / kSendListFileName;
  std::vector<std::filesystem::path> written;
  // Whatever happens below, nothing of this send stays on disk.
  auto removeAll = [&] {
    (void)design::DeleteTempFile(listPath);
    for (const auto& path : written) (void)design::DeleteTempFile(path);
  };

  std::vector<std::vector<uint8_t>> pieces;
  if (!CutAllPieces(design_, limit, tag, pieces)) {
    Say(kCannotDivideSendText, kSendErrorCaption, platform::kMbOk | platform::kMbIconError);
    return false;
  }
  std::vector<std::string> listed;
  for (std::size_t k = 0; k < pieces.size(); ++k) {
    const std::filesystem::path path = PieceFilePath(folder_, documentTitle, static_cast<int>(k + 1));
    // Any piece that could not be written (or named in the list) ends the send: a list
    // missing a piece would sew the design with a hole in it.
    if (path.string().size() > transfer::kMaxListPathLength || platform::WriteWholeFile(path, pieces[k])) {
      removeAll();
      Say(kFileErrorText, kErrorCaption, platform::kMbOk | platform::kMbIconError);
      return false;
    }
    written.push_back(path);
    listed.push_back(path.string());
  }
  if (transfer::WriteTransferListFile(listPath, listed)) {
    removeAll();
    Say(kFileErrorText, kErrorCaption, platform::kMbOk | platform::kMbIconError);
    return false;
  }
  const int result = link_.DirectFilesDownload(owner_, listPath);
  if (result == 0) Say(kDialogFailureText, "", platform::kMbOk);
  if (result == 1) hugeTag = NextHugeTag(tag);
  removeAll();
  return true;
}

}  // namespace digitizer
