#pragma once

// A write past the file-size limit of the process (ulimit -f) raises a signal that ends the
// program by default, and with it every unsaved change. The programs ignore it, so that such
// a write fails like any other (EFBIG): the user is told, and the old file stays.

#include "platform/export.h"

namespace platform {

VELINOR_EXPORT void IgnoreFileSizeSignal();

}  // namespace platform
