#include "digitizer/pack_bytes.h"

#include <algorithm>
#include <array>

namespace digitizer {

namespace {

constexpr std::size_t kMaxRun = 255;
constexpr std::size_t kMaxLiteral = 255;
// Two single-byte runs are as long as a literal token of two bytes; from three on, the
// pending bytes are worth a literal token.
constexpr std::size_t kRunTokensBeforeLiteral = 2;
constexpr uint8_t kEndLow = 0x00;
constexpr uint8_t kEndHigh = 0x01;

class TokenWriter {
 public:
  explicit TokenWriter(std::span<uint8_t> output) : out_(output) {}

  bool Put(std::size_t at, uint8_t low, uint8_t high) {
    if (at + 2 > out_.size()) return false;
    out_[at] = low;
    out_[at + 1] = high;
    return true;
  }

  // A literal token over the pending single-byte runs, which start at `at`.
  bool PutLiteral(std::size_t at, std::span<const uint8_t> bytes, std::size_t& end) {
    const std::size_t padded = bytes.size() + (bytes.size() & 1);
    if (at + 2 + padded > out_.size()) return false;
    out_[at] = 0;
    out_[at + 1] = static_cast<uint8_t>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), out_.begin() + static_cast<std::ptrdiff_t>(at + 2));
    if (bytes.size() & 1) out_[at + 2 + bytes.size()] = 0;
    end = at + 2 + padded;
    return true;
  }

 private:
  std::span<uint8_t> out_;
};

}  // namespace

std::size_t PackBytes(std::span<uint8_t> output, std::span<const uint8_t> input) {
  TokenWriter writer(output);
  std::size_t pos = 0;  // where the next token goes
  if (!input.empty()) {
    std::array<uint8_t, kMaxLiteral> pending{};
    std::size_t pendingCount = 0;
    std::size_t pendingStart = 0;  // token position of the first pending single-byte run
    std::size_t runAt = 0;         // token position of the current run
    uint8_t runByte = input[0];
    std::size_t runLength = 1;
    if (!writer.Put(runAt, 1, runByte)) return 0;
    pos = 2;

    for (std::size_t i = 1; i < input.size(); ++i) {
      const uint8_t b = input[i];
      if (b == runByte && runLength < kMaxRun && pendingCount <= kRunTokensBeforeLiteral) {
        ++runLength;
        writer.Put(runAt, static_cast<uint8_t>(runLength), runByte);
        pendingCount = 0;
        continue;
      }
      if (pendingCount < kRunTokensBeforeLiteral) {
        if (pendingCount == 0) pendingStart = pos;
        runAt = pos;
        if (!writer.Put(runAt, 1, b)) return 0;
        pos += 2;
        pending[pendingCount++] = b;
        runByte = b;
        runLength = 1;
        continue;
      }
      const bool nextRepeats = i + 1 < input.size() && input[i + 1] == b;
      if (nextRepeats || pendingCount == kMaxLiteral) {
        if (!writer.PutLiteral(pendingStart, {pending.data(), pendingCount}, pos)) return 0;
        pendingCount = 0;
        // b starts a run of its own.
        runAt = pos;
        if (!writer.Put(runAt, 1, b)) return 0;
        pos += 2;
        runByte = b;
        runLength = 1;
        continue;
      }
      pending[pendingCount++] = b;
      // No run token stands for b; a byte equal to it is never next (it would have ended
      // the literal above), so runByte only has to stop matching earlier runs.
      runByte = b;
      runLength = kMaxRun;
    }
    if (pendingCount > kRunTokensBeforeLiteral &&
        !writer.PutLiteral(pendingStart, {pending.data(), pendingCount}, pos)) {
      return 0;
    }
  }
  if (!writer.Put(pos, kEndLow, kEndHigh)) return 0;
  return pos + 2;
}

std::size_t UnpackBytes(std::span<const uint8_t> input, std::span<uint8_t> output, std::size_t limit) {
  limit = std::min(limit, output.size());
  std::size_t in = 0;
  std::size_t out = 0;
  while (in + 2 <= input.size()) {
    const uint8_t low = input[in];
    const uint8_t high = input[in + 1];
    in += 2;
    if (low != 0) {
      if (out + low > limit) return 0;
      std::fill_n(output.begin() + static_cast<std::ptrdiff_t>(out), low, high);
      out += low;
      continue;
    }
    if (high == 0 || high == kEndHigh) return out;
    const std::size_t n = high;
    if (in + n > input.size() || out + n > limit) return 0;
    std::copy_n(input.begin() + static_cast<std::ptrdiff_t>(in), n,
                output.begin() + static_cast<std::ptrdiff_t>(out));
    out += n;
    in += n + (n & 1);
  }
  return 0;  // the data ended before its end token
}

}  // namespace digitizer
