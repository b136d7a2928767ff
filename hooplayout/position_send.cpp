#include "hooplayout/position_send.h"

#include <vector>

#include "link/transfer_list.h"
#include "platform/clock.h"
#include "platform/file_io.h"
#include "platform/profile.h"
#include "platform/work_folder.h"

namespace hooplayout {

namespace {

constexpr int kStoredLetterDefault = 'Z';
// A file that could not be written whole stops the command before anything is sent.
constexpr char kFileErrorText[] = "File Error";
constexpr char kUntitledBase[] = "Untitled";
constexpr char kPositionExtension[] = ".qnf";
constexpr int kMaxListNameTries = 10000;

void RemoveAll(const std::vector<std::filesystem::path>& files) {
  for (const auto& file : files) platform::RemoveFile(file);
}

// A list name not yet taken in the work folder.
std::filesystem::path UniqueListFile() {
  for (int n = 0; n < kMaxListNameTries; ++n) {
    const std::filesystem::path candidate =
        platform::ProgramWorkFile("Vantle" + std::to_string(n) + ".lst");
    std::error_code error;
    if (!std::filesystem::exists(candidate, error) && !error) return candidate;
  }
  return {};
}

void Fail(platform::WindowHandle owner, const char* text) {
  platform::MessageBox(owner, text, kErrorCaption, platform::kMbOk | platform::kMbIconError);
}

void FailCombine(platform::WindowHandle owner, CombineResult result) {
  const unsigned icon =
      result == CombineResult::kOutsidePosition ? platform::kMbIconExclamation : platform::kMbIconError;
  platform::MessageBox(owner, CombineMessage(result), CombineCaption(result), platform::kMbOk | icon);
}

}  // namespace

char NextProjectLetter(int stored) {
  if (stored >= 'A' && stored <= 'Y') return static_cast<char>(stored + 1);
  return 'A';
}

std::filesystem::path PositionFilePath(const std::string& layoutPath, int groupNumber) {
  const std::string base =
      layoutPath.empty() ? std::string(kUntitledBase) : std::filesystem::path(layoutPath).stem().string();
  return platform::ProgramWorkFile(base + std::to_string(groupNumber) + kPositionExtension);
}

CPositionSender::CPositionSender(CVantleDoc& doc, PositionTransfer& transfer,
                                 platform::WindowHandle owner)
    : doc_(doc), transfer_(transfer), owner_(owner) {}


bool CPositionSender::SendDesigns() { return Transfer(Destination::kMachine); }
bool CPositionSender::WriteDesigns() { return Transfer(Destination::kCard); }

bool CheckCombineLimits(const DesignList& designs, platform::WindowHandle owner) {
  const std::array<PositionGroup, 2> groups = SplitIntoPositions(designs);
  CPositionCombiner combiner;
  for (int g = 0; g < 2; ++g) {
    const CombineResult result = combiner.Combine(groups[g], g + 1);
    if (result != CombineResult::kOk) {
      FailCombine(owner, result);
      return false;
    }
  }
  return true;
}

bool CPositionSender::Transfer(Destination destination) {
  platform::Profile profile(kVantleProfile);
  const char letter =
      NextProjectLetter(profile.GetInt(kProjectSection, kProjectNameKey, kStoredLetterDefault));
  const std::array<PositionGroup, 2> groups = SplitIntoPositions(doc_.GetDesignList());

  std::vector<std::filesystem::path> written;
  for (int g = 0; g < 2; ++g) {
    if (groups[g].empty()) continue;
    const CombineResult result = combiner_.Combine(groups[g], g + 1);
    if (result != CombineResult::kOk) {
      FailCombine(owner_, result);
      RemoveAll(written);
      return false;
    }
    const std::filesystem::path path = PositionFilePath(doc_.GetPathName(), g + 1);
    if (platform::WriteWholeFile(path, combiner_.FileImage(letter, platform::GetClock().Now()))) {
      Fail(owner_, kFileErrorText);
      RemoveAll(written);
      return false;
    }
    written.push_back(path);
  }
  if (written.empty()) return false;

  const std::filesystem::path listFile = UniqueListFile();
  std::vector<std::string> paths;
  for (const auto& path : written) paths.push_back(path.string());
  if (listFile.empty() || transfer::WriteTransferListFile(listFile, paths)) {
    Fail(owner_, kFileErrorText);
    RemoveAll(written);
    return false;
  }

  // The letter is used up once designs may have gone out (a card write that failed part
  // way included); a send that never started leaves it for the next one.
  bool letterUsed = true;
  bool done = true;
  if (destination == Destination::kMachine) {
    const SendOutcome outcome = transfer_.SendList(listFile);
    if (outcome == SendOutcome::kNoDialog) {
      platform::MessageBox(owner_, kDialogFailureText, "", platform::kMbOk | platform::kMbIconError);
    }
    done = letterUsed = outcome == SendOutcome::kRan;
  } else {
    const bool wroteAll = transfer_.WriteListToCard(listFile);
    done = wroteAll;
    platform::MessageBox(owner_, wroteAll ? kCardDoneText : kCardFailedText, kCardCaption,
                         platform::kMbOk |
                             (wroteAll ? platform::kMbIconInformation : platform::kMbIconError));
  }
  if (letterUsed) profile.WriteInt(kProjectSection, kProjectNameKey, letter);
  written.push_back(listFile);
  RemoveAll(written);
  return done;
}

}  // namespace hooplayout
