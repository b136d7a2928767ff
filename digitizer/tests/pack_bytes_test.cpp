#include "digitizer/pack_bytes.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace digitizer {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Pack(const Bytes& input) {
  Bytes out(PackedBytesBound(input.size()));
  const std::size_t n = PackBytes(out, input);
  out.resize(n);
  return out;
}

Bytes Unpack(const Bytes& packed, std::size_t limit) {
  Bytes out(limit);
  out.resize(UnpackBytes(packed, out, limit));
  return out;
}

TEST(PackBytes, FewDifferentBytesStayRunsAndFourBecomeALiteral) {
  EXPECT_EQ(Pack({7}), (Bytes{1, 7, 0, 1}));
  EXPECT_EQ(Pack({7, 8}), (Bytes{1, 7, 1, 8, 0, 1}));
  EXPECT_EQ(Pack({7, 8, 9}), (Bytes{1, 7, 1, 8, 1, 9, 0, 1}));
  EXPECT_EQ(Pack({7, 8, 9, 10}), (Bytes{1, 7, 0, 3, 8, 9, 10, 0, 0, 1}));
  EXPECT_EQ(Pack({}), (Bytes{0, 1}));
}

TEST(PackBytes, LongRunsSplitAt255) {
  EXPECT_EQ(Pack(Bytes(300, 0xAB)), (Bytes{255, 0xAB, 45, 0xAB, 0, 1}));
  EXPECT_EQ(Pack(Bytes(255, 0)), (Bytes{255, 0, 0, 1}));
}

TEST(PackBytes, ALiteralEndsWhereARunBegins) {
  // 2 3 4 5 pend as a literal until 6 6 starts a run.
  EXPECT_EQ(Pack({1, 2, 3, 4, 5, 6, 6}), (Bytes{1, 1, 0, 4, 2, 3, 4, 5, 2, 6, 0, 1}));
  // Two pending bytes before a run stay as they are as long as a literal.
  EXPECT_EQ(Pack({1, 2, 3, 4, 4}), (Bytes{1, 1, 0, 2, 2, 3, 2, 4, 0, 1}));
  // A byte that joined a literal never extends an earlier run of the same value.
  EXPECT_EQ(Unpack(Pack({1, 2, 3, 4, 3, 9}), 6), (Bytes{1, 2, 3, 4, 3, 9}));
}

TEST(PackBytes, RoundTripsMasksAndNoise) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 50; ++trial) {
    Bytes input(1 + random() % 3000);
    // Mix runs and noise the way region masks look: long zero stretches, ragged edges.
    for (std::size_t i = 0; i < input.size(); ++i) {
      const int kind = static_cast<int>((i / (1 + trial)) % 3);
      input[i] = kind == 0 ? 0 : kind == 1 ? 0xFF : static_cast<uint8_t>(random());
    }
    const Bytes packed = Pack(input);
    ASSERT_FALSE(packed.empty());
    EXPECT_EQ(Unpack(packed, input.size()), input) << "trial " << trial;
  }
  // More than 255 different bytes in a row need two literal tokens.
  Bytes ramp(600);
  for (std::size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<uint8_t>(i * 7);
  EXPECT_EQ(Unpack(Pack(ramp), ramp.size()), ramp);
}

TEST(PackBytes, ATooSmallOutputPacksNothing) {
  Bytes out(5);
  EXPECT_EQ(PackBytes(out, Bytes{1, 2, 3, 4}), 0u);
  Bytes none(1);
  EXPECT_EQ(PackBytes(none, Bytes{}), 0u);
}

TEST(UnpackBytes, RefusesOverrunsAndCutData) {
  Bytes out(20);
  // A run past the limit.
  EXPECT_EQ(UnpackBytes(Bytes{10, 1, 0, 1}, out, 9), 0u);
  EXPECT_EQ(UnpackBytes(Bytes{10, 1, 0, 1}, out, 10), 10u);
  // The output span caps the limit too.
  Bytes small(4);
  EXPECT_EQ(UnpackBytes(Bytes{10, 1, 0, 1}, small, 100), 0u);
  // A literal whose bytes are not all there.
  EXPECT_EQ(UnpackBytes(Bytes{0, 5, 1, 2, 3}, out, 20), 0u);
  // No end token.
  EXPECT_EQ(UnpackBytes(Bytes{3, 1}, out, 20), 0u);
  EXPECT_EQ(UnpackBytes(Bytes{3, 1, 0}, out, 20), 0u);
  // 0x0000 ends too.
  EXPECT_EQ(UnpackBytes(Bytes{3, 1, 0, 0, 9, 9}, out, 20), 3u);
}

}  // namespace
}  // namespace digitizer
