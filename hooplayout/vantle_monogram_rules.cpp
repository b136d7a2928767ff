#include "hooplayout/vantle_monogram_rules.h"

#include "hooplayout/lettering_qnf_file.h"
#include "platform/file_io.h"

namespace hooplayout {

const editor::LetteringHoop kMaxiframeLettering{
    276, 396, {1400, 2000}, kFreeLetteringStart, 2, 275, 395,
    {{{40, 200}, {140, 200}, {240, 200}}}, {{{40, 200}, {240, 200}}}};

// The "no" cursor keeps the large dialog's limits (281, 401) although letters are pushed
// back inside 275 x 395: a letter a few pixels over the edge may still be dropped.
const editor::MonogramDialogConstants kVantleMonogramConstants{
    159, "Monogram", kMaxiframeLettering, {30, 30}, {250, 370}, 275, 395, 281, 401, 0.36, 0.38888888, true};

namespace {
constexpr int16_t kLetteringThreadType = 13;
}  // namespace

bool MakeLayoutLettering(editor::MonogramEngine& engine, design::LayoutStitchRecord& record,
                         editor::MonogramBlock& block) {
  record.Clear();
  record.SetColourCount(1);
  record.SetThreadCode(0, static_cast<int16_t>(engine.threadCode));
  record.SetThreadType(0, kLetteringThreadType);
  engine.FillBlock(block);
  const editor::NeedlePoint start =
      engine.mode == editor::LetteringMode::kFree ? kFreeLetteringStart : kPathLetteringStart;
  // The end pair always has room behind the letters' bytes.
  std::size_t end = 0;
  if (!engine.EncodeLetters(record.StitchArea().first(design::LayoutStitchRecord::kStitchRoom - 2), start, end)) {
    editor::ShowStitchError();
    return false;
  }
  record.Stitches()[end] = design::kStitchEscape;
  record.Stitches()[end + 1] = design::kEnd;
  return end + 2 < kLayoutLetteringByteLimit;
}

VantleMonogramRules::VantleMonogramRules() : MonogramDialogRules(kVantleMonogramConstants, kVantleProgram) {}

bool VantleMonogramRules::Init(const VantleMonogramInput& input) {
  layoutRecord_ = input.record;
  editor::MonogramDialogInput common;
  common.name = input.name;
  common.programFolder = input.programFolder;
  common.text = input.text;
  common.layoutType = input.layoutType;
  common.threadCode = input.threadCode;
  common.inputBlock = input.inputBlock;
  return MonogramDialogRules::Init(common);
}

bool VantleMonogramRules::TakeRecord(const editor::MonogramDialogInput&) { return layoutRecord_ != nullptr; }

bool VantleMonogramRules::MakeDesign() { return MakeLayoutLettering(Engine(), *layoutRecord_, OutputBlockForMaking()); }

// The save dialog opens where the system's file dialog chooses.
std::filesystem::path VantleMonogramRules::SaveStartFolder() const { return {}; }

bool VantleMonogramRules::WriteDesign(const std::filesystem::path& path) const {
  const std::vector<uint8_t> image = LetteringQnfImage(*layoutRecord_);
  return !image.empty() && !platform::WriteWholeFile(path, image);
}

void VantleMonogramRules::RememberSaveFolder(const std::filesystem::path&) const {}

}  // namespace hooplayout
