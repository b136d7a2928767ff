#pragma once

// The USB link, bound at run time: Cablink ("libcablink.so") is looked for beside
// Linkpanel's own file, and every one of its ten entry points must be there, or the
// transfers use the serial port alone. Initialise, device event and terminate are
// serialised, because the dialog's thread (device events, opening, ending) and the worker
// both call them.

#include <cstdint>
#include <filesystem>

#include "link/link_types.h"

namespace linkpanel {

inline constexpr const char* kCablinkFileName = "libcablink.so";

// What UsbInitialize answers when no USB link is bound: use the serial port.
inline constexpr int kUsbNotBound = -999;

// Binds the library at this path (the one beside Linkpanel when none is given). True when
// bound; false leaves the link serial only. Binding again first unbinds.
bool LoadUsbLink();
bool LoadUsbLink(const std::filesystem::path& library);
void UnloadUsbLink();
bool IsUsbLinkBound();

// 0 when the machine answers on USB; kUsbNotBound without Cablink.
int UsbInitialize(LinkWindow dialog, VelinorAbortEvent* abortEvent);
// The device-change message passed on; 1 without Cablink.
int UsbEventProc(LinkWindow dialog, uintptr_t event, intptr_t data);
// 0 without Cablink.
int UsbTerminate();

// The sequences; -3 (no port) without Cablink.
int UsbDownload(TransferListEntry* list, int count, int* detail, ProgressCallback cb);
int UsbDirectDownload(const void* design, unsigned size, const char* name, int destination,
                      int* detail, ProgressCallback cb);
int UsbUpload(TransferListEntry* list, int count, int* detail, ProgressCallback cb);
int UsbErase(int destination, int designNo, int* detail, RefusedCallback onRefused);
int UsbDirUpload(const char* outFile, int destination, int* detail, ProgressCallback cb);
int UsbOpening(const char* file, int* detail, ProgressCallback cb);
int UsbDisplayMessage(LinkWindow owner, const char* caption, int code, int detail);

}  // namespace linkpanel
