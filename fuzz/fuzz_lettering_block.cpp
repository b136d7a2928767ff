// The lettering block a layout stores with every lettering, as the monogram dialog takes it
// up again when the user edits the lettering once more: its text, layout mode, thread, font,
// spacing, control points and every free letter's place and turn. The first byte picks the
// standard-hoop or the large-hoop dialog, the rest is the block (zeros after the input). The
// dialog builds and paints the letters and, on OK, makes the design and saves it as a file.
// What it makes must hold: its stream ends in its end pair at its pair count, the file it
// saves opens again, and the block it hands back is stored in a layout and read back whole.
#include <algorithm>
#include <list>

#include "design/qnf_reader.h"
#include "editor/layout_file.h"
#include "fuzz/end_pair.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/lettering_font.h"
#include "layoutcore/monogram/monogram_dialog_rules.h"
#include "testing/null_canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  vfuzz::UseWorkFolderProfile();
  std::span<const uint8_t> in(data, size);
  const uint8_t choice = vfuzz::TakeByte(in);
  static const std::filesystem::path fonts = [] {
    const auto folder = vfuzz::WorkFolder() / "fonts";
    std::filesystem::create_directories(folder);
    const auto font = vfuzz::LetteringFontFile();
    vfuzz::WriteInput("fonts/" + std::string(vfuzz::kLetteringFontFile), font);
    return folder;
  }();
  editor::MonogramBlock block;
  std::copy_n(in.begin(), std::min(in.size(), block.bytes.size()), block.bytes.begin());
  if (!block.IsLettering()) return 0;

  static design::StitchRecord record;
  record.Clear();
  editor::MonogramDialogInput input;
  input.name = "lettering.qnf";
  input.programFolder = fonts;
  input.text = block.Text();
  input.layoutType = block.Mode();
  input.record = &record;
  input.inputBlock = block;
  editor::MonogramDialogRules rules(
      (choice & 1) ? editor::MonogramDialogKind::kLargeHoop : editor::MonogramDialogKind::kStandardHoop, "Brodera");
  if (!rules.Init(input)) return 0;
  vtest::NullCanvas canvas;
  rules.Paint(canvas);

  const auto saved = vfuzz::WorkFolder() / "lettering.qnf";
  std::error_code ignored;
  std::filesystem::remove(saved, ignored);
  const auto outcome = rules.Ok([&](const std::filesystem::path&, const std::string&) { return saved; });
  if (outcome != editor::MonogramOkOutcome::kAccepted) return 0;

  vfuzz::RequireEndPairAt(record.StitchArea(), record.PairCount(),
                          "a lettering's stream does not end in its end pair at its pair count");
  static design::StitchRecord opened;
  vfuzz::Require(design::ReadQnfFile(saved, opened).status == design::QnfReadStatus::kOk,
                 "a lettering saved as a design file does not open again");

  // The lettering placed in a layout, saved and read back: its block comes back whole.
  std::list<editor::DesignObject> designs(1);
  editor::DesignObject& placed = designs.front();
  editor::GiveNewRecords(placed);
  *placed.source = record;
  *placed.working = record;
  placed.name = rules.Name();
  placed.monogram = rules.OutputBlock();
  placed.halfWidth = placed.halfHeight = placed.placedHalfWidth = placed.placedHalfHeight = 10;
  const auto layout = editor::ReadLayout(editor::WriteBdz(editor::kLargeHoopKind, 1, 1, designs));
  vfuzz::Require(layout && layout->designs.size() == 1, "a layout with a lettering does not read back");
  vfuzz::Require(layout->designs.front().monogram == rules.OutputBlock(),
                 "a lettering's block does not come back whole from its layout");
  return 0;
}
