#pragma once

// The hoop-layout program's design import. It reads QNF and SEW files with the same readers
// and checks as every other program, into a StitchRecord work buffer of its own, and hands
// each design on in the layout's own record: pair count, 16-bit colour count, 16-bit thread
// codes and types, stitch bytes at 406. The layout is always made for the large hoop, so a
// large design is never held back, and a SEW file's preview tells its time in the older,
// rougher way.

#include <cstdint>
#include <string>

#include "design/layout_stitch_record.h"
#include "design/pat_list_model.h"
#include "design/stitch_record.h"

namespace design {

// The hoop-layout program's name in the "does not support" text (and in its settings).
inline constexpr const char* kLayoutProgramTitle = "Tessaly";

// Copies a design held as a StitchRecord into the layout's record (cleared first). A record
// without colours (nothing read) leaves the layout record cleared, colour count 0. The QNF
// hoop code, extents and margins have no place in the layout record and are dropped.
void CopyToLayoutRecord(const StitchRecord& from, LayoutStitchRecord& to);

// "About %d minutes": the preview's estimate for a SEW design, (pairs / 30 + 5) / 10
// minutes in integers, at least 1.
std::string SewPreviewTimeText(int32_t pairs);

namespace detail {
// The work buffer a design is read into before it is handed on; made before the model
// that reads into it.
struct LayoutImportBuffer {
  StitchRecord work;
};
}  // namespace detail

// The rules of the layout program's "Import Design" dialog. The layout record is the
// caller's; after every preview and confirmation it holds the design read, or colour count
// 0 when none was.
class LayoutPatListModel : private detail::LayoutImportBuffer, public PatListModel {
 public:
  explicit LayoutPatListModel(LayoutStitchRecord& record);

 protected:
  void RecordChanged() override;
  std::string TimeText(DesignFileKind kind, bool confirming) const override;

 private:
  LayoutStitchRecord& layoutRecord_;
};

}  // namespace design
