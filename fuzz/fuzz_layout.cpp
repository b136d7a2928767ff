// Brodera's layout files as the program opens them: the bdz file and the older layouts are
// read by the document, the view takes the layout over (an older layout's working records
// are rebuilt from its stitches) and paints it.
#include "editor/brodera_doc.h"
#include "editor/brodera_view.h"
#include "fuzz/fuzz_support.h"
#include "testing/null_canvas.h"
#include "bench/null_hosts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  vfuzz::UseWorkFolderProfile();
  std::span<const uint8_t> file(data, size);
  const uint8_t choice = vfuzz::TakeByte(file);
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
  return 0;
}
