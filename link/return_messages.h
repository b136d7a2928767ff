#pragma once

// The message each transfer return code gives, for both link libraries: the text, its icon,
// and for the failed-design codes the list of designs the machine failed, read from the
// error log. Composition is separate from showing, so the texts are checked without a
// screen.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "platform/message_box.h"

namespace transfer {

// The two libraries differ only in what -13 and -14 mean.
enum class LinkKind { kSerial, kUsb };

struct ReturnMessage {
  enum class Kind { kNone, kText, kFailedDesignList };
  Kind kind = Kind::kNone;
  std::string text;        // kText only
  std::string heading;     // kFailedDesignList only
  unsigned flags = 0;      // buttons, icon and topmost
};

// The text the machine's refusal reason gives (code -12).
std::string RefusalText(int detail);
ReturnMessage ComposeReturnMessage(LinkKind link, int code, int detail);

// The text of the failed-design list from the error log's bytes: the heading, the first
// five names, and "... and more N files" for the rest. A log without one whole record
// gives "Failed to send a design.".
std::string ComposeFailedDesignList(std::span<const uint8_t> errorLog, std::string_view heading);

// The error log of failed designs, 260-byte NUL-padded path records, in the program's
// work folder.
std::filesystem::path ErrorLogPath();
// Adds one path to the log. False when it cannot be written (the log is then removed).
bool AppendErrorLog(const std::filesystem::path& logFile, std::string_view designPath);

// Shows the failed-design list from the log, then deletes the log. Returns 1.
int ShowFailedDesignList(platform::WindowHandle owner, const std::string& caption,
                         std::string_view heading, const std::filesystem::path& logFile);

// Shows the message of a code: nothing for success (1); the list for the list code (1);
// else one box, whose answer is returned, or 1 without a box when there is no owner.
int ShowReturnMessage(LinkKind link, platform::WindowHandle owner, const std::string& caption,
                      int code, int detail, const std::filesystem::path& logFile);

}  // namespace transfer
