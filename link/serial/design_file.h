#pragma once

// The bytes of a design file as they go to the machine: a QNF design only up to and
// including its end pair (whatever a program keeps after it stays home), any other file
// whole.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

namespace portline {

// The most a transfer can announce: its length travels in 24 bits.
constexpr std::size_t kMaxTransferBytes = 0xFFFFFF;

// True when the part of the path after its last '.' is "qnf" in any case.
bool HasQnfExtension(std::string_view path);

// How many leading bytes of a QNF image to send: up to and including the end pair 0x80
// 0x10 found stepping pair by pair from the stitch-data offset (the 16-bit value at the
// start of the file). An offset inside the header or past the end, or no end pair, sends
// the whole image.
std::size_t QnfBytesToSend(std::span<const uint8_t> image);

// Reads a whole file to send. 0; -8 when it cannot be opened or is empty; -9 when it
// cannot be read or is larger than a transfer can announce.
int ReadTransferFile(std::string_view path, std::vector<uint8_t>& bytes);

// Reads the design to send, trimmed as above. 0; -8 when it cannot be opened or is empty; -9 when it cannot
// be read or is larger than a transfer can announce.
int ReadDesignFile(std::string_view path, std::vector<uint8_t>& bytes);

// The payload padded with zeros to whole 512-byte blocks, as both links send it.
std::vector<uint8_t> PaddedImage(std::span<const uint8_t> head, std::span<const uint8_t> body);

// Writes received bytes to a file, replacing it. -8 when it cannot be made, -10 when the
// bytes do not all land (nothing half-written is left).
int WriteReceivedFile(const std::filesystem::path& path, std::span<const uint8_t> bytes);

}  // namespace portline
