#include "link/return_messages.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "link/link_types.h"
#include "link/transfer_list.h"
#include "platform/file_io.h"
#include "platform/work_folder.h"

namespace transfer {

namespace {

constexpr unsigned kErrorBox = platform::kMbOk | platform::kMbIconError | platform::kMbTopmost;
constexpr unsigned kWarningBox =
    platform::kMbOk | platform::kMbIconExclamation | platform::kMbTopmost;
constexpr std::size_t kNamesShown = 5;
constexpr const char* kNoDesignList = "Failed to send a design.";
constexpr const char* kSerialListHeading = "Failed to send a design.\n";
constexpr const char* kUsbListHeading = "Sending designs is failed.\n";
// Far more failed designs than one transfer can send; only the first five are read.
constexpr std::size_t kMaxErrorLogBytes = kListRecordBytes * 65536;

ReturnMessage Text(const char* text, unsigned flags) {
  return {ReturnMessage::Kind::kText, text, {}, flags};
}

ReturnMessage List(const char* heading) {
  return {ReturnMessage::Kind::kFailedDesignList, {}, heading, kWarningBox};
}

}  // namespace

std::string RefusalText(int detail) {
  switch (detail) {
    case 32: return "Not PC-Link Mode.";
    case 64: return "Cannot be registered.";
    case 96: return "(Now preparing.)";
    case 97: return "Cannot be received.";
    case 128: return "Cannot be deleted.";
    default: return "Communication error.";
  }
}

ReturnMessage ComposeReturnMessage(LinkKind link, int code, int detail) {
  switch (code) {
    case kTransferOk: return {};
    case kTransferTimeOut: return Text("Communication time out.", kErrorBox);
    case kTransferPortFailed: return Text("Failed to initialize communication port.", kErrorBox);
    case kTransferBrokenPacket: return Text("Received broken packet.", kErrorBox);
    case kTransferSendFailed: return Text("Failed to send a packet.", kErrorBox);
    case kTransferInvalidReply: return Text("Invalid command is received.", kErrorBox);
    case kTransferNoMemory: return Text("Failed to allocate memory.", kErrorBox);
    case kTransferFileOpen: return Text("Failed to open the file.", kErrorBox);
    case kTransferFileRead: return Text("Failed to read a file.", kErrorBox);
    case kTransferFileWrite: return Text("Failed to write a file.", kErrorBox);
    case kTransferAborted: return Text("Communication is aborted.", kWarningBox);
    case kTransferRefused: {
      ReturnMessage message = Text("", kWarningBox);
      message.text = RefusalText(detail);
      return message;
    }
    case kTransferMachineFail:
      return link == LinkKind::kSerial ? Text("Machine fail.", kWarningBox) : List(kUsbListHeading);
    case kTransferDesignsFailed:
      return link == LinkKind::kSerial ? List(kSerialListHeading) : Text("Command error.", kErrorBox);
    case kTransferLogicError: return Text("Communication logic error.", kWarningBox);
    case kTransferDeviceDenied:
      return Text("The machine is connected by USB, but you may not use its device.\n"
                  "Ask for permission to use the machine's USB device.",
                  kErrorBox);
    default: return Text("No defined error.", kWarningBox);
  }
}

std::string ComposeFailedDesignList(std::span<const uint8_t> errorLog, std::string_view heading) {
  // The log ends at its first empty record, as every list of paths does.
  const std::vector<std::string> names = ParseTransferList(errorLog);
  if (names.empty()) return kNoDesignList;
  std::string text(heading);
  for (std::size_t i = 0; i < names.size() && i < kNamesShown; ++i) text += names[i] + '\n';
  if (names.size() > kNamesShown) {
    text += "... and more " + std::to_string(names.size() - kNamesShown) + " files\n";
  }
  return text;
}

std::filesystem::path ErrorLogPath() { return platform::ProgramWorkFile("$_ErrLog.tmp"); }

bool AppendErrorLog(const std::filesystem::path& logFile, std::string_view designPath) {
  uint8_t record[kListRecordBytes] = {};
  std::memcpy(record, designPath.data(), std::min(designPath.size(), kListRecordBytes));
  // The log is rewritten whole with the record added, so a failed write leaves it as it was.
  std::vector<uint8_t> log;
  const std::error_code readError = platform::ReadWholeFile(logFile, log, kMaxErrorLogBytes);
  if (readError && !platform::IsNotFound(readError)) log.clear();
  log.insert(log.end(), record, record + sizeof record);
  if (platform::WriteWholeFile(logFile, log)) {
    (void)platform::RemoveFile(logFile);
    return false;
  }
  return true;
}

int ShowFailedDesignList(platform::WindowHandle owner, const std::string& caption,
                         std::string_view heading, const std::filesystem::path& logFile) {
  std::vector<uint8_t> log;
  const std::error_code error = platform::ReadWholeFile(logFile, log, kMaxErrorLogBytes);
  const std::string text = error ? std::string(kNoDesignList) : ComposeFailedDesignList(log, heading);
  (void)platform::RemoveFile(logFile);
  platform::MessageBox(owner, text, caption, kWarningBox);
  return 1;
}

int ShowReturnMessage(LinkKind link, platform::WindowHandle owner, const std::string& caption,
                      int code, int detail, const std::filesystem::path& logFile) {
  const ReturnMessage message = ComposeReturnMessage(link, code, detail);
  switch (message.kind) {
    case ReturnMessage::Kind::kNone: return 1;
    case ReturnMessage::Kind::kFailedDesignList:
      return ShowFailedDesignList(owner, caption, message.heading, logFile);
    case ReturnMessage::Kind::kText:
      if (!owner) return 1;
      return platform::MessageBox(owner, message.text, caption, message.flags);
  }
  return 1;
}

}  // namespace transfer
