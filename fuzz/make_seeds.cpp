// Writes the seed corpora of the harnesses: sound files of every kind, made with the
// project's own writers and the test builders, one folder per harness under the folder
// given on the command line.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <list>
#include <string>
#include <vector>

#include "digitizer/clipart.h"
#include "digitizer/pack_bytes.h"
#include "digitizer/part_names.h"
#include "digitizer/stitch_design.h"
#include "layoutcore/design_object.h"
#include "editor/layout_file.h"
#include "editor/tests/layout_file_builder.h"
#include "fuzz/lettering_font.h"
#include "fuzz/seamlib_input.h"
#include "layoutcore/monogram/lettering_engine.h"
#include "hooplayout/arg_file.h"
#include "hooplayout/layout_design.h"
#include "link/file_name_record.h"
#include "link/machine_directory.h"
#include "link/serial/frames.h"
#include "link/transfer_list.h"
#include "testing/bitmap_builder.h"
#include "testing/fixed_clock.h"
#include "testing/mask_corpus.h"
#include "testing/metafile_builder.h"
#include "testing/monogram_font_builder.h"
#include "testing/qnf_file_builder.h"
#include "testing/sew_file_builder.h"
#include "testing/stitch_stream_builder.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {

fs::path gRoot;

void Seed(const std::string& harness, const std::string& name, const Bytes& bytes) {
  const fs::path folder = gRoot / harness;
  fs::create_directories(folder);
  std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes Prefixed(uint8_t choice, Bytes bytes) {
  bytes.insert(bytes.begin(), choice);
  return bytes;
}

// The card manager harness's input: the flags byte, then each file's name byte (bit 7 on the
// card), 16-bit length and bytes.
Bytes CardFiles(uint8_t flags, const std::vector<std::pair<uint8_t, Bytes>>& files) {
  Bytes out = {flags};
  for (const auto& [name, bytes] : files) {
    out.push_back(name);
    out.push_back(static_cast<uint8_t>(bytes.size()));
    out.push_back(static_cast<uint8_t>(bytes.size() >> 8));
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
  return out;
}

// A design in one or two colours: a jump chain to a corner, a square outline of stitches of
// at most 10 mm, a zigzag, a sewn long stitch (119), a landing after jumps.
Bytes Stitches(int size, bool secondColour) {
  vtest::StitchStreamBuilder b;
  const int steps = (size + 99) / 100;
  const int step = size / steps;
  for (int i = 0; i < steps; ++i) b.Jump(-step / 2, step / 2);
  for (int i = 0; i < steps; ++i) b.Stitch(step, 0);
  for (int i = 0; i < steps; ++i) b.Stitch(0, -step);
  if (secondColour) b.ColourChange();
  for (int i = 0; i < 8; ++i) b.Stitch(i % 2 ? -20 : 20, 6);
  b.Jump(119, 0).Stitch(3, 3).Jump(127, -127).Jump(-50, 0).Stitch(0, 0).Stitch(5, 5);
  return b.End().Bytes();
}

vtest::QnfFileSpec QnfSpec(int size, bool two, int hoop) {
  vtest::QnfFileSpec spec;
  spec.stitches = Stitches(size, two);
  spec.threadCodes = two ? std::vector<int32_t>{1, 7} : std::vector<int32_t>{4};
  spec.hoopCode = hoop;
  spec.extents[0] = -size / 2;
  spec.extents[1] = -size / 2;
  spec.extents[2] = size / 2;
  spec.extents[3] = size / 2;
  return spec;
}

void DesignFiles() {
  const Bytes small = vtest::BuildQnfFile(QnfSpec(80, false, 1));
  const Bytes two = vtest::BuildQnfFile(QnfSpec(400, true, 0));
  const Bytes large = vtest::BuildQnfFile(QnfSpec(1200, true, 2));
  vtest::SewFileSpec sewSpec;
  sewSpec.threadCodes = {1, 5};
  sewSpec.stitches = Stitches(300, true);
  const Bytes sew = vtest::BuildSewFile(sewSpec);
  for (const char* harness : {"qnf", "card_design"}) {
    Seed(harness, "small.qnf", small);
    Seed(harness, "two-colours.qnf", two);
    Seed(harness, "large-hoop.qnf", large);
  }
  Seed("sew", "two-colours.sew", sew);
  Seed("design_import", "qnf", Prefixed(0, two));
  Seed("design_import", "qnf-large-layout", Prefixed(2, large));
  Seed("design_import", "sew", Prefixed(1, sew));
  Seed("vantle_import", "qnf", Prefixed(0, two));
  Seed("vantle_import", "large.qnf", Prefixed(0, large));
  Seed("vantle_import", "sew", Prefixed(1, sew));
  Seed("link_design", "qnf", Prefixed(0, two));
  Seed("link_design", "small.qnf", Prefixed(1, small));
  Seed("link_design", "sew-as-other", Prefixed(3, sew));
  Seed("card_manager", "card-and-pc", CardFiles(0, {{0x80, small}, {0x81 | 0x08, two}, {0x03, large}}));
  Seed("card_manager", "open-save-folder", CardFiles(1, {{0x84, two}, {0x05, small}}));
}

void LayoutFiles() {
  auto fill = [](design::StitchRecord& r, const Bytes& stitches, int colours) {
    r.Clear();
    r.SetStitchDataOffset(116 + 8 * colours);
    r.SetFlags(1);
    r.SetColourCount(colours);
    r.SetPairCount(static_cast<int32_t>(stitches.size() / 2));
    r.SetExtents({-20, -20, 20, 20});
    for (int i = 0; i < colours; ++i) r.SetThreadCode(i, 3 + i);
    std::copy(stitches.begin(), stitches.end(), r.Stitches());
  };
  std::list<editor::DesignObject> designs;
  for (int i = 0; i < 2; ++i) {
    editor::DesignObject d;
    d.name = "/home/user/designs/rose" + std::to_string(i) + ".qnf";
    d.centreX = 200 + 50 * i;
    d.centreY = 180;
    d.rotation = 45 * i;
    d.extents = {-20, -20, 20, 20};
    d.halfWidth = d.halfHeight = d.placedHalfWidth = d.placedHalfHeight = 20;
    d.groupMark1 = d.groupMark2 = -1;
    editor::GiveNewRecords(d);
    fill(*d.source, Stitches(200, i == 1), i + 1);
    fill(*d.working, Stitches(200, i == 1), i + 1);
    if (i == 1) {
      // A lettering's block: the mark, then names and numbers the block keeps.
      d.monogram.bytes[0] = 1;
      for (std::size_t b = 1; b < 64; ++b) d.monogram.bytes[b] = static_cast<uint8_t>('A' + b % 26);
    }
    designs.push_back(std::move(d));
  }
  Seed("layout", "two-designs.bdz", Prefixed(0, editor::WriteBdz(0, 2, 1, designs)));
  edtest::ArfDesignSpec arf;
  arf.working.stitches = arf.source.stitches = Stitches(100, false);
  Seed("layout", "older.arf", Prefixed(1, edtest::ArfFile(1, 1, {arf})));
  edtest::OldStitchSpec block;
  block.stitches = Stitches(100, false);
  edtest::ArrDesignSpec arr;
  Seed("layout", "angles.arr", Prefixed(2, edtest::ArrFile(editor::kArrAngleMagic, {arr}, {block})));
  arr.rotation = 2;
  Seed("layout", "codes.arr", Prefixed(2, edtest::ArrFile(editor::kArrCodeMagic, {arr}, {block})));

  std::list<hooplayout::LayoutDesign> placed;
  for (int i = 0; i < 2; ++i) {
    hooplayout::LayoutDesign d;
    d.name = "/home/user/designs/leaf" + std::to_string(i) + ".qnf";
    d.startX = d.centreX = 300 + 100 * i;
    d.startY = d.centreY = 400;
    d.angle = 90 * i;
    d.extents = {-10, -10, 10, 10};
    d.halfWidth = d.halfHeight = d.sourceHalfWidth = d.sourceHalfHeight = 10;
    hooplayout::GiveNewRecords(d);
    for (auto* r : {d.working.get(), d.source.get()}) {
      const Bytes s = Stitches(100, i == 1);
      r->Clear();
      r->SetColourCount(static_cast<int16_t>(i + 1));
      for (int c = 0; c <= i; ++c) r->SetThreadCode(c, static_cast<int16_t>(2 + c));
      r->SetPairCount(static_cast<int32_t>(s.size() / 2));
      std::copy(s.begin(), s.end(), r->Stitches());
    }
    placed.push_back(std::move(d));
  }
  const Bytes arg = hooplayout::WriteArgLayout(2, 1, placed);
  Seed("arg", "two-designs.arg", Prefixed(0, arg));
  Seed("arg", "two-designs.arr", Prefixed(1, arg));
}

void FontFiles() {
  auto glyph = [](int w) {
    return vtest::StitchStreamBuilder().Stitch(w, 0).Stitch(0, 12).Jump(-w, 10).Stitch(w / 2, 8).End().Bytes();
  };
  vtest::MonogramFontBuilder font;
  font.LineUnit(80).Gaps(-10, -5, 5).Glyph('A', glyph(10)).Glyph('B', glyph(14));
  font.Glyph('C', {glyph(8), {2, 3}, {}, {}});
  for (uint8_t mode = 0; mode < 3; ++mode) Seed("monogram_font", "abc-" + std::to_string(mode), Prefixed(mode, font.Build()));
  Seed("monogram_font", "abc-large", Prefixed(4 + 1, font.Build()));
}

void Pictures() {
  for (uint16_t bits : {1, 4, 8, 24, 32}) {
    vtest::BmpSpec spec;
    spec.width = 7;
    spec.height = 5;
    spec.bitCount = bits;
    if (bits <= 8) {
      for (uint32_t i = 0; i < (1u << bits) && i < 16; ++i) spec.colours.push_back(i * 0x101010u);
    }
    spec.pixel = [bits](int x, int y) -> uint32_t {
      return bits <= 8 ? static_cast<uint32_t>((x + y) % (bits == 1 ? 2 : 16)) : 0x00102030u * static_cast<uint32_t>(x + y);
    };
    Seed("bmp", "picture-" + std::to_string(bits) + ".bmp", vtest::BuildBmp(spec));
  }
  vtest::MetafileBuilder clip;
  clip.Bounds(0, 0, 200, 150).Objects(2).WindowOrg(0, 0).WindowExt(200, 150);
  clip.Pen(0, 1, 0x000000).Brush(0, 0x0000FF).Select(0).Select(1);
  clip.Rectangle(10, 10, 90, 60).Ellipse(100, 20, 180, 90).Polygon({{10, 100}, {60, 140}, {20, 145}});
  clip.Polyline({{0, 0}, {50, 50}, {100, 0}}).MoveTo(5, 5).LineTo(195, 145).FillMode(2);
  clip.PolyPolygon({{{120, 100}, {190, 100}, {190, 140}}, {{130, 110}, {150, 110}, {150, 130}}}).Delete(0);
  const Bytes wmf = clip.Build();
  Seed("metafile", "shapes.wmf", wmf);
  // The clipboard holds the metafile without its placeable header, with its mapping mode
  // (anisotropic) and extents in 0.01 mm; and bitmaps without their file header.
  Bytes clipboard = {0};
  for (int32_t v : {8, 5000, 3750}) {
    for (int b = 0; b < 4; ++b) clipboard.push_back(static_cast<uint8_t>(v >> (8 * b)));
  }
  clipboard.insert(clipboard.end(), wmf.begin() + digitizer::CClipart::kPlaceableHeaderBytes, wmf.end());
  Seed("clipboard", "metafile", clipboard);
  for (uint16_t bits : {4, 24}) {
    vtest::BmpSpec spec;
    spec.width = 9;
    spec.height = 6;
    spec.bitCount = bits;
    if (bits == 4) {
      for (uint32_t i = 0; i < 16; ++i) spec.colours.push_back(i * 0x0F0F0Fu);
    }
    spec.pixel = [bits](int x, int y) -> uint32_t { return bits == 4 ? static_cast<uint32_t>((x * y) % 16) : 0x00405060u * static_cast<uint32_t>(x ^ y); };
    const Bytes bmp = vtest::BuildBmp(spec);
    Seed("clipboard", "dib-" + std::to_string(bits), Prefixed(static_cast<uint8_t>(1 | (bits == 24 ? 4 : 0)), Bytes(bmp.begin() + 14, bmp.end())));
  }
}

// Lettering blocks as the monogram engine fills them, in each layout mode and hoop.
void LetteringBlocks() {
  const fs::path fonts = gRoot / ".lettering-fonts";
  fs::create_directories(fonts);
  const Bytes font = vfuzz::LetteringFontFile();
  std::ofstream(fonts / vfuzz::kLetteringFontFile, std::ios::binary)
      .write(reinterpret_cast<const char*>(font.data()), static_cast<std::streamsize>(font.size()));
  const editor::LetteringMode modes[] = {editor::LetteringMode::kFree, editor::LetteringMode::kLine,
                                         editor::LetteringMode::kArc};
  for (int large = 0; large < 2; ++large) {
    for (int m = 0; m < 3; ++m) {
      const editor::LetteringHoop& hoop = large ? editor::kLargeHoopLettering : editor::kStandardHoopLettering;
      editor::MonogramEngine engine(hoop);
      engine.SetFonts(fonts, {vfuzz::kLetteringFontName});
      if (!engine.LoadFontHeader()) continue;
      engine.arcPoints = hoop.arcPoints;
      engine.linePoints = hoop.linePoints;
      if (engine.Build("ABC a1", modes[m]).outcome != editor::BuildOutcome::kBuilt) continue;
      design::StitchRecord record;
      editor::MonogramBlock block;
      if (!engine.MakeStitches(record, block)) continue;
      Seed("lettering_block", "mode-" + std::to_string(m) + (large ? "-large" : ""),
           Prefixed(static_cast<uint8_t>(large), Bytes(block.bytes.begin(), block.bytes.end())));
    }
  }
  fs::remove_all(fonts);
}

// One part of a Pictorel design: its fill, and the rectangle of work pixels it covers.
struct SeedPart {
  int type;
  int parameter;
  int left, top, right, bottom;
};

// A Pictorel design file of the parts, with stitches of its own, as Pictorel writes it.
Bytes PictorelDesignFile(int hoop, const std::vector<SeedPart>& parts) {
  digitizer::CStitchDesign design;
  design.SetHoop(hoop);
  // Rows of the packed mask are padded to 16 bits.
  const std::size_t rowBytes = (static_cast<std::size_t>(design.WorkWidth()) + 15) / 16 * 2;
  int colour = 5;
  for (const SeedPart& p : parts) {
    const auto code = static_cast<uint16_t>(digitizer::MakeStitchCode(p.type, p.parameter));
    uint8_t* mask = nullptr;
    if (p.type == digitizer::kSatinStitch) {
      digitizer::SatinSettings satin{};
      const int middle = (p.top + p.bottom) / 2;
      satin[0] = {p.left, middle - 4, p.right, middle - 4, 0.4};
      satin[1] = {p.left, middle + 4, p.right, middle + 4, 0.4};
      mask = design.AddPartWithSettings(static_cast<int16_t>(colour), code, satin);
    } else {
      mask = design.AddPart(static_cast<int16_t>(colour), code);
    }
    for (int y = p.top; y < p.bottom; ++y) {
      for (int x = p.left; x < p.right; ++x) mask[y * rowBytes + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
    colour += 4;
  }
  design.ResetStitches();
  design::StitchRecord& record = *design.Record();
  const Bytes stitches = Stitches(300, true);
  std::copy(stitches.begin(), stitches.end(), record.Stitches());
  record.SetColourCount(2);
  record.SetThreadCode(0, 5);
  record.SetThreadCode(1, 9);
  design.SetEditState(digitizer::kStitchesFromParts);
  Bytes out;
  if (design.Write(out) != 1) out.clear();
  return out;
}

void PictorelDesigns() {
  vtest::FixedClock clock({2026, 12, 9, 10, 0, 0});
  using namespace digitizer;
  for (int hoop : {0, 1, 2}) {
    const std::string h = std::to_string(hoop);
    const auto hoopByte = static_cast<uint8_t>(hoop);
    Seed("pictorel_design", "two-parts-" + h,
         Prefixed(hoopByte, PictorelDesignFile(hoop, {{kDiagonalWeave, 30, 10, 10, 60, 50}, {kSatinStitch, 0, 20, 60, 120, 90}})));
    // Make Stitch: a weave alone, and two parts of other fills; the second byte asks for a
    // turn and a size (bit 7) or none.
    const Bytes weave = PictorelDesignFile(hoop, {{kHorizontalWeave, 0, 20, 20, 90, 70}});
    // The large hoop's run takes one part.
    const Bytes pair = hoop == 2 ? PictorelDesignFile(hoop, {{kZigzagStitch, 0, 30, 70, 150, 140}})
                                 : PictorelDesignFile(hoop, {{kCrossStitch, 0, 10, 10, 70, 60}, {kZigzagStitch, 0, 30, 70, 150, 140}});
    const Bytes lines = hoop == 2 ? PictorelDesignFile(hoop, {{kSatinStitch, 0, 20, 20, 120, 60}})
                                  : PictorelDesignFile(hoop, {{kSatinStitch, 0, 20, 20, 120, 60}, {kStraightStitch, 20, 10, 80, 100, 130}});
    Seed("make_stitch", "weave-" + h, Prefixed(hoopByte, Prefixed(0, weave)));
    Seed("make_stitch", "parts-" + h, Prefixed(hoopByte, Prefixed(0, pair)));
    Seed("make_stitch", "parts-turned-" + h, Prefixed(static_cast<uint8_t>(hoop + 4), Prefixed(0xC0, lines)));
    if (hoop == 0) {
      Seed("link_design", "pictorel-design", Prefixed(1, pair));
      Seed("card_manager", "pictorel-design-to-card", CardFiles(0, {{0x02, pair}}));
    }
  }
  // The parts block's payload as packing sees it: long runs, short literals, a mask.
  Bytes mixed;
  for (int i = 0; i < 700; ++i) mixed.push_back(static_cast<uint8_t>(i % 7 == 0 ? i : i / 40));
  Seed("pack_bytes", "mixed", mixed);
  Seed("pack_bytes", "runs", Bytes(1200, 0xFF));
  Bytes packed(digitizer::PackedBytesBound(mixed.size()));
  packed.resize(digitizer::PackBytes(packed, mixed));
  Seed("pack_bytes", "packed", packed);
}

void LinkFiles() {
  const fs::path lists = gRoot / "transfer_list";
  fs::create_directories(lists);
  (void)transfer::WriteTransferListFile(lists / "three.lst",
                                        {"/home/user/designs/a.qnf", "/tmp/Brodera/B0001.qnf", "c d.qnf"});
  Seed("machine_directory", "three.dir", transfer::BuildMachineDirectory({"ROSE.QNF", "leaf.ptn", "A"}));
  Seed("machine_directory", "empty.dir", transfer::BuildMachineDirectory({}));

  using namespace portline;
  Bytes line = {kEnq, kAck};
  const CommandFrame status = BuildCommandFrame(kCmdStatus + kReplyCodeOffset, 1, 2, 0, 0, 0);
  line.insert(line.end(), status.begin(), status.end());
  const CommandFrame length = BuildLengthCommandFrame(kCmdFetchDirectory + kReplyCodeOffset, 1, 700);
  line.insert(line.end(), length.begin(), length.end());
  const Bytes dir = transfer::BuildMachineDirectory({"ROSE.QNF", "leaf.ptn"});
  const DataBlockFrame block = BuildDataBlockFrame(BlockType(kMachineBlockType, 0), dir, false);
  line.insert(line.end(), block.begin(), block.end());
  const Bytes record = transfer::BuildFileNameRecord("/home/user/designs/ROSE.QNF");
  const DataBlockFrame named = BuildDataBlockFrame(BlockType(kMachineBlockType, 1), record, true);
  line.insert(line.end(), named.begin(), named.end());
  line.push_back(kNak);
  Seed("serial_frames", "whole-pieces", Prefixed(255, line));
  Seed("serial_frames", "small-pieces", Prefixed(1, line));
}

void Masks() {
  using digitizer::MakeStitchCode;
  auto disc = [](int size) {
    std::vector<std::vector<uint8_t>> rows(size, std::vector<uint8_t>(size, 0));
    const double r = size / 2.0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) rows[y][x] = std::hypot(x + 0.5 - r, y + 0.5 - r) < r ? 1 : 0;
    }
    return rows;
  };
  auto ring = [&](int size) {
    auto rows = disc(size);
    const double r = size / 4.0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        if (std::hypot(x + 0.5 - size / 2.0, y + 0.5 - size / 2.0) < r) rows[y][x] = 0;
      }
    }
    return rows;
  };
  auto comb = [](int size) {
    std::vector<std::vector<uint8_t>> rows(size, std::vector<uint8_t>(size, 0));
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) rows[y][x] = (x % 6 < 2 || y == size / 2) ? 1 : 0;
    }
    return rows;
  };
  std::vector<SatinColumnRecord> columns;
  for (int i = 0; i < vfuzz::kSatinRecords; ++i) columns.push_back({10, 10 + 4 * i, 50, 12 + 4 * i, 0.4});
  const int codes[] = {MakeStitchCode(0, 0),  MakeStitchCode(1, 45), MakeStitchCode(2, 0),  MakeStitchCode(3, 0),
                       MakeStitchCode(4, 0),  MakeStitchCode(5, 30), MakeStitchCode(6, 0),  MakeStitchCode(7, 0),
                       MakeStitchCode(8, 0),  MakeStitchCode(9, 20)};
  for (int code : codes) {
    const bool satin = (code & 0xFF) == vfuzz::kSatinFillType;
    const auto& records = satin ? columns : std::vector<SatinColumnRecord>{};
    const std::string type = std::to_string(code & 0xFF);
    Seed("seamlib", "disc-" + type, vfuzz::EncodeSeamlibCall(code, 30, 20, 20, 30, disc(60), records, 1));
    Seed("seamlib", "ring-" + type, vfuzz::EncodeSeamlibCall(code, 40, 30, 10, 10, ring(80), records, 2));
    Seed("seamlib", "comb-" + type, vfuzz::EncodeSeamlibCall(code, 20, 16, 0, 0, comb(48), records, 1));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <seed folder>\n", argv[0]);
    return 2;
  }
  gRoot = argv[1];
  DesignFiles();
  LayoutFiles();
  FontFiles();
  Pictures();
  PictorelDesigns();
  LetteringBlocks();
  LinkFiles();
  Masks();
  return 0;
}
