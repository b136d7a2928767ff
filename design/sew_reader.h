#pragma once

// Reads a SEW stitch file into a StitchRecord as the image of a QNF design: the thread
// codes with thread type 13, the lead-in jumps, then the file's stitch bytes up to and
// including the end pair. Extents and hoop code are left at 0: the importer re-centres the
// design, which measures them.

#include <cstdint>
#include <span>

#include "design/stitch_record.h"

namespace design {

enum class SewReadStatus {
  kOk,
  kDefective,  // colour count outside 1..12, a short file, no end pair in reach, too many pairs
};

// The record is cleared first and stays cleared (colour count 0) on a refusal.
SewReadStatus ReadSew(std::span<const uint8_t> file, StitchRecord& record);

}  // namespace design
