#pragma once

// The writable per-user folder of the running program, for its temporary design files,
// lists and logs: $XDG_DATA_HOME/Corvan/<program> (default ~/.local/share). The
// install folder beside the executable is read-only.

#include <filesystem>
#include <string>

#include "platform/export.h"

namespace platform {

// The program's name for its work folder ("Brodera", "Pictorel", ...), set once at start-up;
// until it is set the executable's name stands in.
VELINOR_EXPORT void SetProgramName(const std::string& name);

// $XDG_DATA_HOME/Corvan/<program>, not created.
VELINOR_EXPORT std::filesystem::path WorkFolderOf(const std::string& program);

// The running program's folder, created when missing; empty when it cannot be made.
VELINOR_EXPORT std::filesystem::path ProgramWorkFolder();

// A file of that folder (the name alone when the folder cannot be made).
VELINOR_EXPORT std::filesystem::path ProgramWorkFile(const std::string& name);

}  // namespace platform
