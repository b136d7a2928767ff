#pragma once

// Send Designs and Write Designs of the hoop-layout program, and the dry run before a save:
// the layout split into its two positions, one QNF file per non-empty position in the
// program's work folder (named after the layout), a transfer list naming them (sewing space A first), then the machine link or
// the card writer, and the files removed again whatever became of the transfer.

#include <filesystem>
#include <string>

#include "hooplayout/position_split.h"
#include "hooplayout/vantle_doc.h"
#include "platform/message_box.h"

namespace hooplayout {

inline constexpr char kVantleProfile[] = "Tessaly";
inline constexpr char kProjectSection[] = "Project";
inline constexpr char kProjectNameKey[] = "Name";
inline constexpr char kCardCaption[] = "Writing onto Card";
inline constexpr char kCardDoneText[] = "Writing onto Card has completed.";
inline constexpr char kCardFailedText[] = "Writing onto Card has failed.";
inline constexpr char kDialogFailureText[] = "Create dialogbox failure.";

// How a send through the machine link's dialog ended.
enum class SendOutcome {
  kRan,         // the user started it and it ran to its end (its failures shown by the dialog)
  kNotStarted,  // the dialog was closed before the start
  kNoDialog,    // the dialog could not be made
};

// Where the designs go: the machine link's send dialog, or the card writer. Each runs
// modally on the list file and returns when it has closed.
class PositionTransfer {
 public:
  virtual ~PositionTransfer() = default;
  virtual SendOutcome SendList(const std::filesystem::path& listFile) = 0;
  // True when every listed design was written onto the card.
  virtual bool WriteListToCard(const std::filesystem::path& listFile) = 0;
};

// The letter after the stored one: 'A'..'Y' step on, anything else starts again at 'A'.
char NextProjectLetter(int stored);

// The position file of group 1 or 2 for a layout path: the layout's base name with the
// group number and ".qnf", in the program's work folder, so that no file of the user's is
// ever replaced or removed. A layout without a path stands as "Untitled".
std::filesystem::path PositionFilePath(const std::string& layoutPath, int groupNumber);

// The dry run before a save: both positions combined, nothing written; the first failure
// is said over owner.
bool CheckCombineLimits(const DesignList& designs, platform::WindowHandle owner = nullptr);

class CPositionSender {
 public:
  CPositionSender(CVantleDoc& doc, PositionTransfer& transfer,
                  platform::WindowHandle owner = nullptr);

  // False when a position could not be combined or a file not written (said to the user),
  // and when a send never started or the card was not written whole.
  bool SendDesigns();
  bool WriteDesigns();
  bool CheckCombineLimits() { return hooplayout::CheckCombineLimits(doc_.GetDesignList(), owner_); }

 private:
  enum class Destination { kMachine, kCard };
  bool Transfer(Destination destination);

  CVantleDoc& doc_;
  PositionTransfer& transfer_;
  platform::WindowHandle owner_;
  CPositionCombiner combiner_;
};

}  // namespace hooplayout
