#pragma once

// Saving a layout file, the same in every program that keeps layouts: the question before
// an existing file is replaced, the folder remembered in the profile, and a write that
// either replaces the file whole or leaves the old one as it was.

#include <cstdint>
#include <span>
#include <string>

namespace editor {

// The lower-cased extension of a path, with its dot ("" when there is none).
std::string LowerExtension(const std::string& path);

// The folder of the path with a separator at its end; "" for a bare name.
std::string FolderOf(const std::string& path);

// True when the file is not there, or the user answers Yes to replacing it.
bool AskReplaceExisting(const std::string& path, const char* caption);

// Writes the bytes beside the target first and renames them over it, so that a write that
// fails half way never costs the layout that was there before. A failure is shown ("There
// is an error in a file.\nQuit operation.") and the result is false.
bool WriteLayoutFile(const std::string& path, std::span<const uint8_t> bytes, const char* caption);

}  // namespace editor
