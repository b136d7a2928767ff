#include "link/panel/usb_link.h"

#include <memory>
#include <mutex>

#include "platform/dynamic_library.h"

namespace linkpanel {

namespace {

using InitializeFn = int (*)(LinkWindow, VelinorAbortEvent*);
using EventProcFn = int (*)(LinkWindow, uintptr_t, intptr_t);
using TerminateFn = int (*)();
using DownloadFn = int (*)(TransferListEntry*, int, int*, ProgressCallback);
using DirectDownloadFn = int (*)(const void*, unsigned, const char*, int, int*, ProgressCallback);
using UploadFn = int (*)(TransferListEntry*, int, int*, ProgressCallback);
using EraseFn = int (*)(int, int, int*, RefusedCallback);
using OpeningFn = int (*)(const char*, int*, ProgressCallback);
using DirUploadFn = int (*)(const char*, int, int*, ProgressCallback);
using DisplayMessageFn = int (*)(LinkWindow, const char*, int, int);

struct EntryPoints {
  InitializeFn initialize = nullptr;
  EventProcFn eventProc = nullptr;
  TerminateFn terminate = nullptr;
  DownloadFn download = nullptr;
  DirectDownloadFn directDownload = nullptr;
  UploadFn upload = nullptr;
  EraseFn erase = nullptr;
  OpeningFn opening = nullptr;
  DirUploadFn dirUpload = nullptr;
  DisplayMessageFn displayMessage = nullptr;
};

struct UsbLink {
  // Guards the binding itself; the three locks below keep Cablink's own calls apart.
  std::mutex bindingMutex;
  std::unique_ptr<platform::DynamicLibrary> library;
  EntryPoints entry;
  std::mutex initializeLock;
  std::mutex eventLock;
  std::mutex terminateLock;
};

UsbLink& Link() {
  static UsbLink link;
  return link;
}

template <typename Fn>
bool Bind(const platform::DynamicLibrary& library, const char* name, Fn& slot) {
  slot = reinterpret_cast<Fn>(library.Symbol(name));
  return slot != nullptr;
}

// A snapshot of the entry points; all null while unbound.
EntryPoints Bound() {
  std::lock_guard lock(Link().bindingMutex);
  return Link().entry;
}

constexpr int kNoPort = kTransferPortFailed;

}  // namespace

bool LoadUsbLink() {
  const std::filesystem::path folder = platform::FolderOfLoadedFile(
      reinterpret_cast<const void*>(static_cast<bool (*)()>(&LoadUsbLink)));
  if (folder.empty()) return false;
  return LoadUsbLink(folder / kCablinkFileName);
}

bool LoadUsbLink(const std::filesystem::path& file) {
  UnloadUsbLink();
  std::unique_ptr<platform::DynamicLibrary> library = platform::DynamicLibrary::Open(file);
  if (!library) return false;
  EntryPoints entry;
  const bool complete = Bind(*library, "USB_Initialize", entry.initialize) &&
                        Bind(*library, "USB_EventProc", entry.eventProc) &&
                        Bind(*library, "USB_Terminate", entry.terminate) &&
                        Bind(*library, "USB_Download_Sequence", entry.download) &&
                        Bind(*library, "USB_DirectDownload_Sequence", entry.directDownload) &&
                        Bind(*library, "USB_Upload_Sequence", entry.upload) &&
                        Bind(*library, "USB_Erase_Sequence", entry.erase) &&
                        Bind(*library, "USB_Opening_Sequence", entry.opening) &&
                        Bind(*library, "USB_DirUpload_Sequence", entry.dirUpload) &&
                        Bind(*library, "USB_DisplayMessageByReturnCode", entry.displayMessage);
  // A library missing any entry point is let go whole: half a USB link is none.
  if (!complete) return false;
  std::lock_guard lock(Link().bindingMutex);
  Link().library = std::move(library);
  Link().entry = entry;
  return true;
}

void UnloadUsbLink() {
  std::unique_ptr<platform::DynamicLibrary> library;
  {
    std::lock_guard lock(Link().bindingMutex);
    Link().entry = EntryPoints{};
    library = std::move(Link().library);
  }
}

bool IsUsbLinkBound() { return Bound().initialize != nullptr; }

int UsbInitialize(LinkWindow dialog, VelinorAbortEvent* abortEvent) {
  const EntryPoints entry = Bound();
  if (!entry.initialize) return kUsbNotBound;
  std::lock_guard lock(Link().initializeLock);
  return entry.initialize(dialog, abortEvent);
}

int UsbEventProc(LinkWindow dialog, uintptr_t event, intptr_t data) {
  const EntryPoints entry = Bound();
  if (!entry.eventProc) return 1;
  std::lock_guard lock(Link().eventLock);
  return entry.eventProc(dialog, event, data);
}

int UsbTerminate() {
  const EntryPoints entry = Bound();
  if (!entry.terminate) return 0;
  std::lock_guard lock(Link().terminateLock);
  return entry.terminate();
}

int UsbDownload(TransferListEntry* list, int count, int* detail, ProgressCallback cb) {
  const EntryPoints entry = Bound();
  return entry.download ? entry.download(list, count, detail, cb) : kNoPort;
}

int UsbDirectDownload(const void* design, unsigned size, const char* name, int destination,
                      int* detail, ProgressCallback cb) {
  const EntryPoints entry = Bound();
  return entry.directDownload ? entry.directDownload(design, size, name, destination, detail, cb)
                              : kNoPort;
}

int UsbUpload(TransferListEntry* list, int count, int* detail, ProgressCallback cb) {
  const EntryPoints entry = Bound();
  return entry.upload ? entry.upload(list, count, detail, cb) : kNoPort;
}

int UsbErase(int destination, int designNo, int* detail, RefusedCallback onRefused) {
  const EntryPoints entry = Bound();
  return entry.erase ? entry.erase(destination, designNo, detail, onRefused) : kNoPort;
}

int UsbDirUpload(const char* outFile, int destination, int* detail, ProgressCallback cb) {
  const EntryPoints entry = Bound();
  return entry.dirUpload ? entry.dirUpload(outFile, destination, detail, cb) : kNoPort;
}

int UsbOpening(const char* file, int* detail, ProgressCallback cb) {
  const EntryPoints entry = Bound();
  return entry.opening ? entry.opening(file, detail, cb) : kNoPort;
}

int UsbDisplayMessage(LinkWindow owner, const char* caption, int code, int detail) {
  const EntryPoints entry = Bound();
  return entry.displayMessage ? entry.displayMessage(owner, caption, code, detail) : kNoPort;
}

}  // namespace linkpanel
