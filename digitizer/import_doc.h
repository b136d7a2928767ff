#pragma once

// CImportDoc: Pictorel's one document. It holds the imported picture (a bitmap or a clipart
// metafile), the outline picture drawn from it, and the design. A saved document is a pair of
// files with one base name: x.qnf (the design and its parts block) and x.bmp (the outline
// picture). The file dialogs and the save-modified question belong to the frame; this class
// takes the chosen paths.

#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "digitizer/clipart.h"
#include "digitizer/dib.h"
#include "digitizer/stitch_design.h"
#include "digitizer/written_pictures.h"
#include "platform/file_pair.h"

namespace digitizer {

// What the document holds: bit 0 a design, bit 1 a picture.
enum DocContents : int {
  kContentsNone = 0,
  kContentsDesign = 1,
  kContentsPicture = 2,
  kContentsBoth = 3,
};

// Which picture waits for the picture view to trace its outline.
enum PictureState : int {
  kNoPictureToTrace = 0,
  kClipartToTrace = 3,
  kBitmapToTrace = 8,
};

// How a save ended: written, refused by the user at a question (the name may be chosen
// again), or failed after its message was shown.
enum class SaveOutcome { kSaved, kRefused, kFailed };

// The picture view draws the outline picture that is saved beside the design.
class OutlineSource {
 public:
  virtual ~OutlineSource() = default;
  // Fills outline with the picture to save; false when there is none.
  virtual bool PrepareOutline(CDib& outline) = 0;
};

class CImportDoc {
 public:
  static constexpr const char* kProgram = "Pictorel";
  static constexpr const char* kUntitled = "Untitled";
  static constexpr const char* kStitchLimitMessage = "Exceeded the stitch count limit for HV7000.";
  static constexpr const char* kDefectiveMessage = "This file may be defective.";
  static constexpr const char* kWmfReadError = "WMF File Read error";
  static constexpr const char* kBmpReadError = "BMP File Read error";
  static constexpr const char* kStitchFileReadError = "Stitch File Read Error";
  static constexpr const char* kWriteError = "Write error";
  // Shown under the name of a file that is not there.
  static constexpr const char* kNotFoundText = "This file was not found.";

  // programFolder: where the program runs; every file dialog's first folder. workFolder: where
  // the list of the outline pictures the program wrote is kept (none when empty).
  explicit CImportDoc(std::filesystem::path programFolder, const std::filesystem::path& workFolder = {});
  // Stores the preview flag back into the profile.
  virtual ~CImportDoc();
  CImportDoc(const CImportDoc&) = delete;
  CImportDoc& operator=(const CImportDoc&) = delete;

  // Empties everything: pictures, design, path and title.
  bool OnNewDocument();
  // A picture pasted in begins a new design: parts, stitches and the outline picture are
  // dropped, and the document no longer names the old design's files, so a save asks for a
  // name instead of replacing them. The pictures to trace are kept.
  void StartFreshDesign();
  // Reads a document by its extension: x.qnf with its x.bmp, or a bitmap alone as the outline
  // picture. The document takes the file over only when it reads: a file that is missing,
  // cannot be read, is defective or of another kind leaves the document as it was, with a
  // message that says why (naming the file where the reason is the file's own). A missing or
  // damaged x.bmp is named in its message, and the design opens on its own.
  bool OnOpenDocument(const std::filesystem::path& path);
  // Open... after its dialog: OnOpenDocument, and the file becomes the document's path.
  // True when the document now holds the file (the frame then adds it to the recent files).
  bool OpenDesignFile(const std::filesystem::path& path);
  // Writes the document under the path (see SaveTargetPath): the design and the outline
  // picture the view prepares, when it has one, together: both are renamed into place only
  // when both were written whole, so a failure leaves both old files as they were, and the
  // document's path and title unchanged. A file there that this document did not write or
  // open for this design (a picture the user imported or opened, another design's picture)
  // is replaced only when the user answers Yes to "<path>\nThis file already
  // exists.\n\nReplace existing file?"; No writes nothing (kRefused). Not asked about: the
  // file the user already agreed to replace in the file dialog (confirmed), and an outline
  // picture this program wrote that is still as it left it. A failed write shows
  // "<path>\nWrite error" for the file that failed (kFailed).
  SaveOutcome OnSaveDocument(const std::filesystem::path& path, OutlineSource& view,
                             const std::filesystem::path& confirmed = {});
  // Save must become Save As: the document holds no design file of its own yet (a new
  // design, an imported picture, an outline picture opened alone, a SEW import), so there is
  // no path Save may write to without asking for a name.
  bool SaveNeedsName() const;
  // Whether this document opened or wrote the file for its design, so that saving may
  // replace it without asking.
  bool OwnsFile(const std::filesystem::path& path) const;
  // The imports read the picture by its extension (.bmp or .wmf) and, once it has read,
  // empty the document and take it over; the title is the picture's name, but the document
  // gets no path: the picture is the user's, and a save must ask for a design name. A picture
  // that does not read leaves the document as it was, after its message.
  bool ImportPicture(const std::filesystem::path& path);
  // Open Sew File... after the SEW dialog read the stitches into a fresh design record: the
  // outline picture beside the file is opened (emptying the document first), the record is
  // taken over as stitches without parts and the SEW file becomes the document's path. A
  // record of the wrong size is refused like a defective file.
  bool OpenSewDesign(const std::filesystem::path& sewPath, std::unique_ptr<design::StitchRecord> record,
                     bool largeHoop);
  // The SEW dialog found the file defective: the message; the document stays as it was.
  void RejectSewFile();

  // Empty: "Untitled.qnf"; an extension other than .bmp, .qnf or .wmf gets ".qnf" appended;
  // .wmf is saved as the .qnf of its base name.
  static std::filesystem::path SaveTargetPath(const std::filesystem::path& path);
  // The companion outline picture of a design file.
  static std::filesystem::path OutlinePath(const std::filesystem::path& designPath);
  // The message that a design's read error gets; null for no error.
  static const char* ReadErrorMessage(int error);

  // The title shown: without its extension when design and picture are both held (a design
  // opened or saved with its outline picture).
  std::string Title() const;
  void SetTitle(std::string title) { title_ = std::move(title); }
  const std::filesystem::path& PathName() const { return path_; }

  // Folder keys of the profile section "Design Path": the start folder of a file dialog
  // and the folder stored back from the chosen file.
  std::filesystem::path StartFolder(const char* key) const;
  void StoreFolder(const char* key, const std::filesystem::path& chosenFile) const;

  int Contents() const { return contents_; }
  int PictureStateValue() const { return pictureState_; }
  void SetPictureState(int state) { pictureState_ = state; }
  int SaveStage() const { return saveStage_; }
  bool Preview() const { return preview_; }
  void SetPreview(bool preview) { preview_ = preview; }
  bool HasStitches() const { return design_.GetStitchCount() > 0; }

  CStitchDesign& Design() { return design_; }
  CDib& OutlinePicture() { return outline_; }
  CDib& ImportedPicture() { return imported_; }
  CClipart& Clipart() { return clipart_; }

 private:
  // Read into the caller's holder, so that a picture that fails leaves the document alone.
  static bool ReadBmp(const std::filesystem::path& path, CDib& picture);
  static bool ReadWmf(const std::filesystem::path& path, CClipart& clipart);
  // A picture beside a design, or opened as the outline picture: its failure names the file.
  static bool ReadPictureFile(const std::filesystem::path& path, CDib& picture);
  // Writes the files together; on failure shows the write error with the failed file's name.
  static bool WriteTogether(std::span<const platform::FileToWrite> files);

  std::filesystem::path programFolder_;
  std::filesystem::path path_;
  // The design file this document opened or saved ("x.qnf"), and every file it may replace
  // without asking: that design and its outline picture.
  std::filesystem::path designPath_;
  std::vector<std::filesystem::path> ownedFiles_;
  WrittenPictures writtenPictures_;
  std::string title_ = kUntitled;
  int contents_ = kContentsNone;
  int saveStage_ = 0;
  int pictureState_ = kNoPictureToTrace;
  bool preview_ = true;
  CDib outline_;
  CDib imported_;
  CClipart clipart_;
  CStitchDesign design_;
};

}  // namespace digitizer
