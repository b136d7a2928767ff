#pragma once

// Reading a design the user chose to import: picks the reader by the file's extension and
// applies every check the import makes, so that the record holds either a sound design
// within the program's limits or nothing (colour count 0).

#include <cstdint>
#include <filesystem>
#include <string>

#include "design/stitch_record.h"

namespace design {

enum class DesignFileKind { kNone, kQnf, kSew };

// ".qnf" or ".sew" in any case; anything else is no design file.
DesignFileKind DesignFileKindOf(const std::filesystem::path& path);

// What the import says of a design no hoop takes; nothing else may send or write one.
inline constexpr const char* kExceedsHoopLimitsText = "The stitch exceed the hoop size limits.";

enum class ImportRefusal {
  kNone,
  kCannotOpen,         // not there, or not readable: no design, no message
  kFileError,          // the file opened but could not be read
  kEmpty,              // a QNF file of no bytes
  kUnsupported,        // more pairs than the program takes
  kExceedsHoopLimits,  // wider than 1400 or higher than 2000, as claimed or as sewn
  kDefective,          // anything else that is not a sound design
};

// Reads the file with the reader for its kind (kind must not be kNone). On any refusal the
// record is left cleared, colour count 0.
ImportRefusal ReadDesignForImport(const std::filesystem::path& path, DesignFileKind kind,
                                  StitchRecord& record);

// A design made for the large hoop cannot go into a layout of standard hoops.
bool ExceedsLayoutHoop(const StitchRecord& record, int layoutHoopKind);

}  // namespace design
