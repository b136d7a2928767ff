// Pictorel's Paste: the clipboard hands the picture view a metafile picture (mapping mode,
// extents and records) or a packed bitmap, the view adopts it, places it on the work area
// and traces its outline. The first byte picks the bitmap (bit 0) and the hoop (bits 1..2);
// a metafile's mapping mode and extents are the next three 32-bit values, its records the rest.
#include "bench/null_hosts.h"
#include "digitizer/import_doc.h"
#include "digitizer/picture_view.h"
#include "fuzz/fuzz_support.h"
#include "platform/le_bytes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  vfuzz::InstallQuietMessages();
  vfuzz::UseWorkFolderProfile();
  std::span<const uint8_t> in(data, size);
  const uint8_t choice = vfuzz::TakeByte(in);
  bench::NullPictureViewHost host;
  if (choice & 1) {
    host.clipboardDib.emplace(in.begin(), in.end());
  } else {
    if (in.size() < 12) return 0;
    digitizer::ClipboardMetafileData picture;
    picture.mapMode = platform::ReadI32(in.data());
    picture.xExtent = platform::ReadI32(in.data() + 4);
    picture.yExtent = platform::ReadI32(in.data() + 8);
    picture.bits.assign(in.begin() + 12, in.end());
    host.clipboardMetafile = std::move(picture);
  }
  static const int kDrawingSizes[][2] = {{440, 440}, {200, 200}, {560, 800}};
  const auto& drawing = kDrawingSizes[(choice >> 1) % 3];
  digitizer::CImportDoc doc(vfuzz::WorkFolder());
  digitizer::BmpViewModel view(doc, host);
  view.SetDrawingSize(drawing[0], drawing[1]);
  view.OnInitialUpdate();
  view.OnPaste();
  view.OnOutline();
  return 0;
}
