#pragma once

// The run-length packing of the parts block that Pictorel keeps after a design's end pair.
// A sequence of 16-bit little-endian tokens: low byte k in 1..255 is a run of k copies of
// the high byte; low byte 0 with high byte n in 2..255 is n literal bytes that follow, then
// one zero pad byte when n is odd; 0x0100 ends the data (a reader also stops at 0x0000).
// A literal of one byte is never written, since its token would read as the end.

#include <cstddef>
#include <cstdint>
#include <span>

namespace digitizer {

// Bytes PackBytes may need for n input bytes: every byte its own run token, and the end.
constexpr std::size_t PackedBytesBound(std::size_t n) { return 2 * n + 2; }

// Packs input into output; returns the bytes written, end token included, or 0 when output
// is too small (nothing usable was packed).
std::size_t PackBytes(std::span<uint8_t> output, std::span<const uint8_t> input);

// Unpacks until the end token; returns the bytes written, or 0 as soon as the output would
// pass limit (or output's size), or when the input ends before its end token.
std::size_t UnpackBytes(std::span<const uint8_t> input, std::span<uint8_t> output, std::size_t limit);

}  // namespace digitizer
