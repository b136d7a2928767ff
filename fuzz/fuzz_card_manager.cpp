// The card manager ("Write Designs, Read and Erase") over a card and a PC folder of hostile
// files: the card's design list, the preview of every design on it and of every PC design
// selected, Read (the card's designs copied to a PC folder) and the write of the PC designs
// to the card. The input is a flags byte (bit 0: the Open/Save folder), then up to four
// files, each a name byte (bit 7: on the card, else on the PC; bits 0..2 the name, bits 3..4
// the extension's case or another extension), a 16-bit length and the bytes. A design read
// off the card lands in the PC folder byte for byte; a design written to the card is the PC
// file up to its end pair and opens again as a QNF design.
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "design/card/card_manager_model.h"
#include "design/card/card_writer.h"
#include "design/qnf_reader.h"
#include "fuzz/fuzz_support.h"
#include "platform/file_io.h"
#include "testing/fake_card.h"
#include "testing/recording_canvas.h"

namespace fs = std::filesystem;

namespace {

// One card-sized removable volume: the card folder inside the work folder.
struct WorkCard : card::CardVolumes {
  fs::path mountPoint;
  std::vector<platform::MountedVolume> List() override {
    platform::MountedVolume volume;
    volume.mountPoint = mountPoint;
    volume.device = "/dev/fuzzcard1";
    volume.removable = true;
    volume.totalBytes = vtest::kFakeCardBytes;
    return {volume};
  }
  void Flush(const fs::path&) override {}
};

std::vector<uint8_t> Contents(const fs::path& path) {
  std::vector<uint8_t> bytes;
  (void)platform::ReadWholeFile(path, bytes, 1u << 24);
  return bytes;
}

void Put(const fs::path& path, std::span<const uint8_t> bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  std::span<const uint8_t> in(data, size);
  const uint8_t flags = vfuzz::TakeByte(in);
  const bool openSave = flags & 1;
  const fs::path root = vfuzz::WorkFolder() / "card-manager";
  std::error_code ignored;
  fs::remove_all(root, ignored);
  WorkCard volumes;
  volumes.mountPoint = root / "card";
  const fs::path cardFolder =
      card::CardFolder(volumes.mountPoint, openSave ? kDestinationAtaCardFolder : kDestinationAtaCard);
  const fs::path pcFolder = root / "pc";
  const fs::path readFolder = root / "read";
  fs::create_directories(cardFolder);
  fs::create_directories(pcFolder);
  fs::create_directories(readFolder);

  static const char* const kNames[] = {"ROSE", "leaf", "A", "two words", "B0001", "x.y", "long_name_of_a_design", "Z"};
  static const char* const kExtensions[] = {".qnf", ".QNF", ".Qnf", ".vmk"};
  std::vector<fs::path> pcFiles;
  for (int i = 0; i < 4 && in.size() >= 3; ++i) {
    const uint8_t nameByte = vfuzz::TakeByte(in);
    const std::size_t length = std::min<std::size_t>(in[0] | (in[1] << 8), in.size() - 2);
    const auto bytes = in.subspan(2, length);
    in = in.subspan(2 + length);
    const bool onCard = nameByte & 0x80;
    const fs::path path = (onCard ? cardFolder : pcFolder) /
                          (std::string(kNames[nameByte & 7]) + kExtensions[(nameByte >> 3) & 3]);
    Put(path, bytes);
    if (!onCard) pcFiles.push_back(path);
  }

  vtest::ScriptedMachineVersion version;
  card::CardManagerModel model(volumes, version);
  if (!model.OnInitDialog()) return 0;
  model.OnOpenSaveBox(openSave);
  vtest::RecordingCanvas canvas;
  for (int i = 0; i < static_cast<int>(model.CardDesigns().size()); ++i) {
    model.OnListClick(i);
    model.DrawPreview(canvas, {0, 0, 160, 200});
  }

  // Read: every card design copied into the read folder, whole.
  const std::vector<fs::path> onCard = model.CardDesigns();
  std::vector<int> all(onCard.size());
  for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
  model.OnRead(all, [&](const std::string&, const fs::path&) { return readFolder; });
  for (const fs::path& design : onCard) {
    const fs::path copy = readFolder / design.filename();
    if (!fs::exists(copy, ignored)) continue;
    vfuzz::Require(Contents(copy) == Contents(design), "a design read off the card is not the card's bytes");
  }

  // Write: each PC design previewed, then written to the card.
  model.OnFolderChange(pcFolder);
  for (const fs::path& file : pcFiles) {
    model.OnFileNameChange(file);
    model.DrawPreview(canvas, {0, 0, 160, 200});
    const auto before = card::ListCardDesigns(cardFolder);
    model.OnFileNameOK({file}, true);
    const fs::path written = cardFolder / card::CardFileName(file.stem().string());
    if (std::find(before.begin(), before.end(), written) != before.end() || !fs::exists(written, ignored)) continue;
    const std::vector<uint8_t> pc = Contents(file);
    const std::vector<uint8_t> onCardNow = Contents(written);
    vfuzz::Require(onCardNow.size() <= pc.size() && std::equal(onCardNow.begin(), onCardNow.end(), pc.begin()),
                   "a design written to the card is not the PC file's design");
    static design::StitchRecord record(design::StitchRecord::kPictorelStitchRoom);
    vfuzz::Require(design::ReadQnf(onCardNow, record, card::kNewerMachineCardPairLimit) == design::QnfReadStatus::kOk,
                   "a design written to the card does not open again");
  }
  return 0;
}
