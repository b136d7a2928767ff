#pragma once

// CQnfExporter turns one design of the editor's layout into a QNF file for sending or
// card writing. Made on the stack for one send or card-write command: for index = count - 1
// down to 0, FillHeader then WriteFile to the temporary file that carries the 1-based
// number; after the transfer, DeleteTempFile for each.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#include "design/stitch_record.h"

namespace design {

// What the exporter needs of one placed design: its working stitches and its name.
struct ExportedDesign {
  const StitchRecord& working;
  const std::string& name;
};

class CQnfExporter {
 public:
  virtual ~CQnfExporter();

  // Fills out with design number index (0-based position in the layout's design list) of
  // a batch of count designs sent under letter; hoopKind 2 is a large-hoop layout.
  // Returns the design's name.
  std::string FillHeader(int index, int count, char letter, StitchRecord& out,
                         const ExportedDesign& design, int hoopKind) const;

  // Copies pair by pair up to and including the end pair; a marker 0x80 0x03 is dropped
  // together with the pair after it. Returns the pairs written, end pair included, or 0
  // when the source holds no end pair within its room or the target is too small.
  int32_t CopyStitches(std::span<const uint8_t> source, std::span<uint8_t> target) const;

  // Extents of the stitches measured from their first point.
  Extents GetExtents(std::span<const uint8_t> stitches) const;

  // Fills the four margin blocks from the record's extents.
  void SetHoopFit(StitchRecord& record, int hoopKind) const;

  // Writes the date digits of the time of writing into bytes 8..21.
  void StampHeader(StitchRecord& record) const;

  // Writes the file. Returns false when it could not be made whole: a file that cannot be
  // created is not written and nothing is shown; a failure while writing shows "File Error"
  // (unless the cause is that the file was not found) and the partial file is removed, so
  // that no send or card write goes on with a truncated design.
  bool WriteFile(const StitchRecord& record, const std::filesystem::path& path) const;
  // The same; failureShown tells whether a failure was already said to the user.
  bool WriteFile(const StitchRecord& record, const std::filesystem::path& path, bool& failureShown) const;
};

// Deletes a temporary design file; the error says why it could not be deleted.
std::error_code DeleteTempFile(const std::filesystem::path& path);

// The file image WriteFile writes: 116 + 8n + 2 x pair-count bytes. Empty when the
// record's colour count or pair count is out of range.
std::vector<uint8_t> QnfFileImage(const StitchRecord& record);

}  // namespace design
