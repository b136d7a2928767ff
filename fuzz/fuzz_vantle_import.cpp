// Vantle's Import Design over a chosen file (the first byte picks QNF or SEW): the dialog's
// preview and confirmation read the design into the layout's own record, the view re-centres
// it and places it. A design placed must hold a stream that ends in its end pair at the pair
// count its record claims, and the layout with it must save and open again.
#include "bench/null_hosts.h"
#include "design/layout_import.h"
#include "fuzz/end_pair.h"
#include "fuzz/arg_round_trip.h"
#include "fuzz/fuzz_support.h"
#include "hooplayout/vantle_doc.h"
#include "hooplayout/vantle_view.h"
#include "testing/recording_canvas.h"

namespace {

// The Import Design dialog as the window runs it: a preview on selection, then OK.
struct ImportHost : bench::NullVantleViewHost {
  std::filesystem::path chosen;
  bool RunImportDialog(design::LayoutStitchRecord& record, const std::string&, std::string& chosenPath,
                       std::string& chosenFolder) override {
    design::LayoutPatListModel model(record);
    model.OnFileNameChange(chosen);
    vtest::RecordingCanvas canvas;
    model.DrawPreview(canvas, {0, 0, 120, 160});
    if (!model.OnFileNameOK(chosen)) return false;
    chosenPath = chosen.string();
    chosenFolder = model.ChosenFolder().string();
    return true;
  }
};

void CheckEndsAtPairCount(const design::LayoutStitchRecord& record) {
  vfuzz::RequireEndPairAt(record.StitchArea(), record.PairCount(),
                          "an imported design's stream does not end in its end pair at its pair count");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  vfuzz::UseWorkFolderProfile();
  std::span<const uint8_t> file(data, size);
  const uint8_t choice = vfuzz::TakeByte(file);
  bench::NullDocumentHost docHost;
  ImportHost viewHost;
  viewHost.chosen = vfuzz::WriteInput((choice & 1) ? "design.sew" : "design.qnf", file);
  hooplayout::CVantleDoc doc(docHost);
  hooplayout::CVantleView view(doc, viewHost, vfuzz::WorkFolder().string() + "/");
  view.OnInitialUpdate();
  view.ImportDesign();
  if (doc.GetDesignList().empty()) return 0;
  for (const hooplayout::LayoutDesign& d : doc.GetDesignList()) {
    CheckEndsAtPairCount(*d.working);
    CheckEndsAtPairCount(*d.source);
  }
  vfuzz::CheckVantleSaveOpensAgain(doc);
  return 0;
}
