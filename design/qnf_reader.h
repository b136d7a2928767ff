#pragma once

// Reads a QNF design file into a StitchRecord. The file is hostile until proven sound:
// every count, offset and length is checked against what was actually read before it is
// trusted.

#include <cstdint>
#include <filesystem>
#include <span>
#include <system_error>

#include "design/stitch_record.h"

namespace design {

enum class QnfReadStatus {
  kOk,
  kEmpty,        // a file of no bytes
  kUnsupported,  // more pairs than the program supports
  kDefective,    // anything else that is not a sound QNF design
};

// Reads the file image into the record (the record is cleared first; on any refusal it is
// left cleared, colour count 0). Sound means: a whole header; colour count 1..78; the
// stitch-data offset 116 + 8n; pair count 1..maxPairs and within the record's room; all
// stitch bytes present; and the stream, read by the pair rules, reaching its end pair
// exactly at its last pair. Bytes after the end pair are not looked at.
QnfReadStatus ReadQnf(std::span<const uint8_t> file, StitchRecord& record,
                      int32_t maxPairs = 65535);

// Reads a QNF file from disk. A file that cannot be read gives its error (not-found told
// apart) and leaves the record cleared.
struct QnfFileResult {
  std::error_code error;
  QnfReadStatus status = QnfReadStatus::kDefective;
};
QnfFileResult ReadQnfFile(const std::filesystem::path& path, StitchRecord& record,
                          int32_t maxPairs = 65535);

// Walks a stitch stream by the pair rules (a colour change and a jump take the pair after
// them) and returns the offset of its end pair, or -1 when the bytes hold no end pair.
long FindEndPair(std::span<const uint8_t> stitches);

}  // namespace design
