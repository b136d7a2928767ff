// Vantle's layouts as the program opens them: the arg file and the older arr layouts (the
// first byte picks the file's extension), read by the document, taken over by the view
// (an older layout's placements are rebuilt) and painted with the check of every design
// against the two hoop positions.
#include "fuzz/fuzz_support.h"
#include "testing/null_canvas.h"
#include "bench/null_hosts.h"
#include "hooplayout/vantle_doc.h"
#include "hooplayout/vantle_view.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  vfuzz::UseWorkFolderProfile();
  std::span<const uint8_t> file(data, size);
  const uint8_t choice = vfuzz::TakeByte(file);
  const auto path = vfuzz::WriteInput((choice & 1) ? "layout.arr" : "layout.arg", file);
  bench::NullDocumentHost docHost;
  bench::NullVantleViewHost viewHost;
  hooplayout::CVantleDoc doc(docHost);
  hooplayout::CVantleView view(doc, viewHost, vfuzz::WorkFolder().string() + "/");
  view.OnInitialUpdate();
  if (!doc.OnOpenDocument(path.string())) return 0;
  view.OnInitialUpdate();
  vtest::NullCanvas canvas;
  view.OnPaint(canvas, {0, 0, 4000, 4000});
  return 0;
}
