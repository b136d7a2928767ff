// Vantle's layouts as the program opens them: the arg file and the older arr layouts (the
// first byte picks the file's extension), read by the document, taken over by the view
// (an older layout's placements are rebuilt) and painted with the check of every design
// against the two hoop positions. What is read must save and open again: an arg file read
// is written back and reads as the same layout (written once more, the same bytes), and a
// layout the program opened and saved opens again as it was saved.
#include "bench/null_hosts.h"
#include "fuzz/arg_round_trip.h"
#include "fuzz/fuzz_support.h"
#include "hooplayout/arg_file.h"
#include "hooplayout/vantle_doc.h"
#include "hooplayout/vantle_view.h"
#include "testing/null_canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  vfuzz::UseWorkFolderProfile();
  std::span<const uint8_t> file(data, size);
  const uint8_t choice = vfuzz::TakeByte(file);
  const bool older = choice & 1;

  if (!older) {
    if (const auto read = hooplayout::ReadArgLayout(file)) {
      const auto written = hooplayout::WriteArgLayout(read->sheetsAcross, read->sheetsDown, read->designs);
      vfuzz::CheckArgReadsBack(written, "an arg layout as read does not read back as the same layout");
    }
  }

  const auto path = vfuzz::WriteInput(older ? "layout.arr" : "layout.arg", file);
  bench::NullDocumentHost docHost;
  bench::NullVantleViewHost viewHost;
  hooplayout::CVantleDoc doc(docHost);
  hooplayout::CVantleView view(doc, viewHost, vfuzz::WorkFolder().string() + "/");
  view.OnInitialUpdate();
  if (!doc.OnOpenDocument(path.string())) return 0;
  view.OnInitialUpdate();
  vtest::NullCanvas canvas;
  view.OnPaint(canvas, {0, 0, 4000, 4000});

  vfuzz::CheckVantleSaveOpensAgain(doc);
  return 0;
}
