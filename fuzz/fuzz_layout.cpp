// Brodera's layout files as the program opens them: the bdz file and the older layouts are
// read by the document, the view takes the layout over (an older layout's working records
// are rebuilt from its stitches) and paints it. What is read must save and open again: a
// bdz file read is written back and reads as the same designs, and the layout the program
// opened, saved as the program saves it, opens again as it was saved.
#include <cstring>

#include "editor/brodera_doc.h"
#include "editor/brodera_view.h"
#include "editor/layout_file.h"
#include "fuzz/fuzz_support.h"
#include "platform/file_io.h"
#include "testing/null_canvas.h"
#include "bench/null_hosts.h"

namespace {

bool SameRecord(const design::StitchRecord* a, const design::StitchRecord* b) {
  if (!a || !b) return a == b;
  return std::equal(a->Bytes().begin(), a->Bytes().end(), b->Bytes().begin(), b->Bytes().end());
}

bool SameDesign(const editor::DesignObject& a, const editor::DesignObject& b) {
  return a.name == b.name && a.centreX == b.centreX && a.centreY == b.centreY && a.rotation == b.rotation &&
         a.mirroredH == b.mirroredH && a.mirroredV == b.mirroredV && a.extents == b.extents &&
         a.halfWidth == b.halfWidth && a.halfHeight == b.halfHeight && a.placedHalfWidth == b.placedHalfWidth &&
         a.placedHalfHeight == b.placedHalfHeight && std::memcmp(&a.scaleX, &b.scaleX, sizeof a.scaleX) == 0 &&
         std::memcmp(&a.scaleY, &b.scaleY, sizeof a.scaleY) == 0 && a.groupMark1 == b.groupMark1 &&
         a.groupMark2 == b.groupMark2 && a.monogram == b.monogram && SameRecord(a.source.get(), b.source.get()) &&
         SameRecord(a.working.get(), b.working.get());
}

bool SameDesigns(const std::list<editor::DesignObject>& a, const std::list<editor::DesignObject>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), SameDesign);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  vfuzz::UseWorkFolderProfile();
  std::span<const uint8_t> file(data, size);
  const uint8_t choice = vfuzz::TakeByte(file);

  if (const auto read = editor::ReadLayout(file); read && read->format == editor::LayoutFormat::kBdz) {
    const auto written = editor::WriteBdz(read->hoopKind, read->sheetsAcross, read->sheetsDown, read->designs);
    const auto again = editor::ReadLayout(written);
    vfuzz::Require(again.has_value(), "a bdz layout as read does not read again once written");
    vfuzz::Require(again->hoopKind == read->hoopKind && again->sheetsAcross == read->sheetsAcross &&
                       again->sheetsDown == read->sheetsDown && SameDesigns(again->designs, read->designs),
                   "a bdz layout as read reads back as another layout once written");
  }

  const char* names[] = {"layout.bdz", "layout.arf", "layout.arr"};
  const auto path = vfuzz::WriteInput(names[choice % 3], file);
  bench::NullDocumentHost docHost;
  bench::NullBroderaViewHost viewHost;
  editor::CBroderaDoc doc(docHost);
  editor::CBroderaView view(doc, viewHost, vfuzz::WorkFolder().string() + "/");
  view.OnInitialUpdate();
  if (!view.OpenLayoutFile(path.string())) return 0;
  vtest::NullCanvas canvas;
  view.OnDraw(canvas);

  const auto savedPath = vfuzz::WorkFolder() / "saved.bdz";
  vfuzz::Require(doc.SaveLayoutTo(savedPath.string()), "a layout the program opened cannot be saved");
  std::vector<uint8_t> saved;
  vfuzz::Require(!platform::ReadWholeFile(savedPath, saved, editor::kMaxLayoutFileSize),
                 "a saved layout cannot be read from its file");
  const auto reopened = editor::ReadLayout(saved);
  vfuzz::Require(reopened.has_value() && reopened->format == editor::LayoutFormat::kBdz,
                 "a layout the program opened and saved does not open again");
  // A record keeps more than the file carries (thread slots past its colour count, the hoop
  // margins): what was saved is compared, as the layout writes it.
  const auto resaved = editor::WriteBdz(reopened->hoopKind, reopened->sheetsAcross, reopened->sheetsDown,
                                        reopened->designs);
  vfuzz::Require(resaved == saved, "a layout the program opened and saved opens again as another layout");
  return 0;
}
