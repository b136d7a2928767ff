#pragma once

// What Vantle writes must open again as it was written: an arg image reads back and, written
// once more, gives the same bytes (every field and block of every design written as read).

#include <algorithm>
#include <span>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "hooplayout/arg_file.h"
#include "hooplayout/vantle_doc.h"
#include "platform/file_io.h"

namespace vfuzz {

inline void CheckArgReadsBack(std::span<const uint8_t> written, const char* property) {
  const auto again = hooplayout::ReadArgLayout(written);
  Require(again.has_value(), property);
  const auto rewritten = hooplayout::WriteArgLayout(again->sheetsAcross, again->sheetsDown, again->designs);
  Require(std::equal(written.begin(), written.end(), rewritten.begin(), rewritten.end()), property);
}

// Saves the layout as the program does, into the work folder, and checks the file. Vantle
// refuses, with its message, to save a layout its reader would call defective.
inline void CheckVantleSaveOpensAgain(hooplayout::CVantleDoc& doc) {
  const auto path = WorkFolder() / "saved.arg";
  if (!doc.OnSaveDocument(path.string())) return;
  std::vector<uint8_t> saved;
  Require(!platform::ReadWholeFile(path, saved, hooplayout::kMaxArgFileSize), "a saved layout cannot be read back");
  CheckArgReadsBack(saved, "a layout Vantle saved does not open again as it was saved");
}

}  // namespace vfuzz
