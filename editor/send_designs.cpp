#include "editor/send_designs.h"

#include <array>
#include <cstdio>
#include <cstring>

#include "design/qnf_exporter.h"
#include "link/transfer_list.h"
#include "platform/file_io.h"
#include "platform/message_box.h"

namespace editor {

namespace {

constexpr const char* kDesignExtension = ".qnf";
constexpr const char* kDesignNotWrittenText = "File Error";
constexpr const char* kBatchCaption = "Brodera";

bool IsUtf8Continuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// Cuts text to at most maxBytes without splitting a multi-byte character.
std::string CutAtCharacter(const std::string& text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  std::size_t end = maxBytes;
  while (end > 0 && IsUtf8Continuation(text[end])) --end;
  return text.substr(0, end);
}

}  // namespace

char NextSendLetter(int storedLetter) {
  if (storedLetter < 'a' || storedLetter > 'y') return 'a';
  return static_cast<char>(storedLetter + 1);
}

std::string SendTitle(const std::string& layoutPath) {
  const std::string stem = std::filesystem::path(layoutPath).stem().string();
  if (stem.empty()) return kUntitledLayout;
  return CutAtCharacter(stem, kMaxSendTitleChars);
}

std::string TempDesignFileName(const std::string& title, int fileNo, char letter) {
  char number[16];
  std::snprintf(number, sizeof number, "%02d#%c", fileNo, letter);
  return title + number + kDesignExtension;
}

std::optional<std::string> FitTitleToRecord(const std::filesystem::path& folder, const std::string& title,
                             int count, char letter) {
  // The last file has the widest number.
  const std::size_t longestWithoutTitle =
      (folder / TempDesignFileName("", count < 1 ? 1 : count, letter)).string().size();
  if (longestWithoutTitle > transfer::kMaxListPathLength) return std::nullopt;
  return CutAtCharacter(title, transfer::kMaxListPathLength - longestWithoutTitle);
}

TempDesignBatch::~TempDesignBatch() { Remove(); }

void TempDesignBatch::Write(const std::filesystem::path& folder, const std::string& title,
                            const std::vector<const DesignObject*>& designs, char letter,
                            int hoopKind) {
  Remove();
  listPath_ = folder / kSendListName;
  const int count = static_cast<int>(designs.size());
  // A path longer than its record would be cut (or run into the next record) and name a
  // file that does not exist; the title gives way instead.
  const std::optional<std::string> fitted = FitTitleToRecord(folder, title, count, letter);
  platform::OutputFile list;
  // An old list left behind must not be sent in place of this one.
  if (!fitted || list.Create(listPath_)) {
    std::error_code ignored;
    if (std::filesystem::is_regular_file(listPath_, ignored)) (void)platform::RemoveFile(listPath_);
    return;
  }
  listMade_ = true;

  design::StitchRecord record;  // one record for the whole batch, 131,812 bytes
  design::CQnfExporter exporter;
  std::error_code listError;
  for (int fileNo = 1; fileNo <= count && !listError; ++fileNo) {
    const int index = count - fileNo;  // the design at the list's tail is file 01
    const DesignObject& placed = *designs[index];
    if (!placed.working) {
      listError = std::make_error_code(std::errc::invalid_argument);
      break;
    }
    record.Clear();
    exporter.FillHeader(index, count, letter, record, {*placed.working, placed.name}, hoopKind);
    const std::filesystem::path path = folder / TempDesignFileName(*fitted, fileNo, letter);
    // A design whose file could not be written whole is left off the list, and the user
    // is told which: the link never meets a listed file it cannot read.
    bool failureShown = false;
    if (!exporter.WriteFile(record, path, failureShown)) {
      if (!failureShown) {
        platform::MessageBox(nullptr, kDesignNotWrittenText, kBatchCaption,
                             platform::kMbOk | platform::kMbIconError);
      }
      continue;
    }
    designPaths_.push_back(path);

    std::array<uint8_t, transfer::kListRecordBytes> pathRecord{};
    const std::string text = path.string();
    std::memcpy(pathRecord.data(), text.data(), text.size());  // fits: the title was fitted
    listError = list.Write(pathRecord);
  }
  // Nothing written leaves nothing to send: no list, so the link reports it missing.
  if (!listError && designPaths_.empty()) listError = std::make_error_code(std::errc::no_such_file_or_directory);
  if (!listError) listError = list.Close();
  if (!listError) return;
  // A list cut short would send fewer designs than the layout holds, as if that were all:
  // without it the link reports the list missing, and no design file stays behind.
  list.Discard();
  listMade_ = false;
  for (const auto& path : designPaths_) (void)design::DeleteTempFile(path);
  designPaths_.clear();
  std::error_code ignored;
  if (std::filesystem::is_regular_file(listPath_, ignored)) (void)platform::RemoveFile(listPath_);
}

void TempDesignBatch::Remove() {
  if (listMade_) (void)design::DeleteTempFile(listPath_);
  for (auto it = designPaths_.rbegin(); it != designPaths_.rend(); ++it) {
    (void)design::DeleteTempFile(*it);
  }
  listPath_.clear();
  listMade_ = false;
  designPaths_.clear();
}

}  // namespace editor
