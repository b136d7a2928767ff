#pragma once

// The message box every failure of the suite is shown in: a text, a caption, an icon and
// a set of buttons in; the button the user pressed out. The service is process-wide: the
// Qt programs install theirs at start-up, tests install a recorder with scripted answers,
// and until one is installed the answers go to standard error and the default button is
// taken (a library used without a window never blocks).

#include <string>

#include "platform/export.h"

namespace platform {

// Opaque window handle passed across library boundaries; null means "no window".
using WindowHandle = void*;

// Buttons (low nibble), icon (next nibble), default button and modality bits.
enum MessageFlags : unsigned {
  kMbOk = 0x0000,
  kMbOkCancel = 0x0001,
  kMbAbortRetryIgnore = 0x0002,
  kMbYesNoCancel = 0x0003,
  kMbYesNo = 0x0004,
  kMbRetryCancel = 0x0005,
  kMbButtonMask = 0x000F,
  kMbIconError = 0x0010,        // the "stop" icon
  kMbIconQuestion = 0x0020,
  kMbIconExclamation = 0x0030,
  kMbIconInformation = 0x0040,
  kMbIconMask = 0x00F0,
  kMbDefButton2 = 0x0100,
  kMbDefButton3 = 0x0200,
  kMbDefButtonMask = 0x0F00,
  kMbTopmost = 0x40000,
};

enum MessageAnswer : int {
  kIdOk = 1,
  kIdCancel = 2,
  kIdAbort = 3,
  kIdRetry = 4,
  kIdIgnore = 5,
  kIdYes = 6,
  kIdNo = 7,
};

class VELINOR_EXPORT MessageService {
 public:
  virtual ~MessageService();
  virtual int Show(WindowHandle owner, const std::string& text, const std::string& caption,
                   unsigned flags) = 0;
};

// Installs the process-wide service; null restores the standard-error fallback. The
// caller keeps ownership and must keep the service alive while it is installed.
VELINOR_EXPORT void SetMessageService(MessageService* service);
VELINOR_EXPORT MessageService* GetMessageService();

VELINOR_EXPORT int MessageBox(WindowHandle owner, const std::string& text,
                              const std::string& caption, unsigned flags = kMbOk);

// The answer a box gives when nobody can press a button: its default button.
VELINOR_EXPORT int DefaultAnswer(unsigned flags);

// "<path>\nThis file already exists.\n\nReplace existing file?" (Yes/No, warning icon)
// when the file exists; true when there is no such file or the user answered Yes. Every
// write over a file the program did not make for this job asks this first.
VELINOR_EXPORT bool AskReplaceExisting(WindowHandle owner, const std::string& path,
                                       const std::string& caption);

}  // namespace platform
