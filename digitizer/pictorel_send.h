#pragma once

// Send a Design of the picture digitizer: the design goes to the machine whole when its
// stitch count fits the machine's limit, else cut at colour-block boundaries into pieces,
// each written as a temporary QNF file beside the program and named in the send list that
// the machine link reads. The files are removed again whatever became of the send.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "digitizer/stitch_design.h"
#include "platform/message_box.h"

namespace digitizer {

// The rolling tag that marks the pieces of one split: profile "Settings"/"HugeSize".
inline constexpr char kHugeSizeSection[] = "Settings";
inline constexpr char kHugeSizeKey[] = "HugeSize";
inline constexpr int kDefaultHugeTag = '1';

// The machine's program version 2 takes 65,535 pairs; older programs 32,700. Above 32,700
// the user confirms the version first.
inline constexpr int32_t kOlderMachineLimit = 32700;
inline constexpr int32_t kNewerMachineLimit = 65535;
inline constexpr int kNewerMachineVersion = 2;

inline constexpr char kSendListFileName[] = "Sendaro.tmp";

inline constexpr char kNoDesignText[] = "No design\n Please open a stitch file or create stitch data.";
inline constexpr char kTooManyStitchesText[] = "Stitch number of the design exceeds the specified format.";
inline constexpr char kConfirmCaption[] = "Confirm";
inline constexpr char kDialogFailureText[] = "Create dialogbox failure.";
inline constexpr char kSplitSendText[] =
    "The stitch data that exceeded the stitch count limit for HV7000\n will automatically be divided and "
    "transferred to the machine.";
inline constexpr char kConfirmationCaption[] = "Confirmation";
inline constexpr char kCannotDivideSendText[] =
    "The design cannot be divided or sent if it contains a color part (layers) of which stitch count "
    "exceeds the limit.";
inline constexpr char kSendErrorCaption[] = "Send Error";
inline constexpr char kFileErrorText[] = "There is an error in a file.\nQuit operation.";
inline constexpr char kErrorCaption[] = "Error";

// The tag after stored: '1'..'8' step on, '9' and anything that is not a tag start at '1'.
char NextHugeTag(int stored);
// The stored tag, a damaged value read as '1'.
char ValidHugeTag(int stored);

// The name a design is announced by: the document's file name with extension "qnf", empty
// for a document never saved.
std::string SendDesignName(const std::string& documentPath);

// A piece's file: folder / "<title>#<pieceNo>.qnf", title the document's title ("Untitled"
// for one never saved) without its extension.
std::filesystem::path PieceFilePath(const std::filesystem::path& folder, const std::string& documentTitle,
                                    int pieceNo);

// A name for a card design from a 64-bit file time (100-ns units): its value in base 36,
// digits 0-9 and A-Z, most significant first, then ".qnf".
std::string MakeCardFileName(uint64_t fileTime);

// The machine link as the sender uses it: each call runs its dialog and returns when it
// has closed, with the link's own result code.
class PictorelLink {
 public:
  virtual ~PictorelLink() = default;
  virtual int CheckVersion(platform::WindowHandle owner, int force) = 0;
  virtual int VersionCode() = 0;
  virtual int DirectDownload(platform::WindowHandle owner, std::span<const uint8_t> image,
                             const std::string& name) = 0;
  virtual int DirectFilesDownload(platform::WindowHandle owner, const std::filesystem::path& listFile) = 0;
};

// The checks before a send or a card write. 0 when the command stops (said to the user
// where there is something to say), else the machine's pair limit.
int32_t MachinePairLimit(const CStitchDesign& design, PictorelLink& link, platform::WindowHandle owner);

class CPictorelSender {
 public:
  // folder: where the send list and the piece files are written (the program folder).
  CPictorelSender(CStitchDesign& design, PictorelLink& link, std::filesystem::path folder,
                  platform::WindowHandle owner = nullptr);

  // Send a Design. True when the design reached the link (the link says how it ended).
  // documentPath names a whole design, documentTitle the pieces of a split one.
  // hugeTag: the stored tag, stepped on after a split send the link ran to its end.
  bool SendDesign(const std::string& documentPath, const std::string& documentTitle, int& hugeTag);

 private:
  bool SendPieces(const std::string& documentTitle, int32_t limit, int& hugeTag);
  void Say(const char* text, const char* caption, unsigned flags);

  CStitchDesign& design_;
  PictorelLink& link_;
  std::filesystem::path folder_;
  platform::WindowHandle owner_;
};

}  // namespace digitizer
