#ifndef VELINOR_LINK_USB_CABLINK_H
#define VELINOR_LINK_USB_CABLINK_H

/* Cablink: the machine's USB link. Linkpanel loads it by name and finds these entry
 * points; one device, one transfer at a time per process. Every sequence returns a
 * TransferReturnCode; detail receives the machine's refusal reason. */

#include <stdint.h>

#include "link/link_types.h"
#include "platform/export.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Device events passed on by the window that was given to USB_Initialize. While the
 * machine is open, its removal is posted to that window as the device-change message with
 * the removal event and a notice naming the device. */
enum {
  kUsbDeviceChangeMessage = 0x0219,
  kUsbEventNodesChanged = 7,
  kUsbEventRemovalComplete = 0x8004,
  kUsbNoticeDeviceInterface = 5,
  kUsbNoticeNameBytes = 260
};
/* The data of a removal: which kind of device went, and its path. */
typedef struct UsbDeviceNotice {
  int kind;
  char name[kUsbNoticeNameBytes];
} UsbDeviceNotice;

/* Finds and opens the machine's device, keeping the abort handle for the sequences.
 * 0, or -3 when no machine is attached. */
VELINOR_EXPORT int USB_Initialize(LinkWindow notifyWindow, VelinorAbortEvent* abortEvent);
VELINOR_EXPORT int USB_Terminate(void);
/* A device event: nodes changed opens the device again (its result); the machine's
 * removal closes it (-1, as for any removal); anything else 1. */
VELINOR_EXPORT int USB_EventProc(LinkWindow notifyWindow, uintptr_t event, intptr_t data);

VELINOR_EXPORT int USB_Download_Sequence(TransferListEntry* list, int count, int* detail,
                                         ProgressCallback cb);
VELINOR_EXPORT int USB_DirectDownload_Sequence(const void* design, unsigned size, const char* name,
                                               int destination, int* detail, ProgressCallback cb);
VELINOR_EXPORT int USB_Upload_Sequence(TransferListEntry* list, int count, int* detail,
                                       ProgressCallback cb);
VELINOR_EXPORT int USB_Erase_Sequence(int destination, int designNo, int* detail,
                                      RefusedCallback onRefused);
VELINOR_EXPORT int USB_DirUpload_Sequence(const char* outFile, int destination, int* detail,
                                          ProgressCallback cb);
VELINOR_EXPORT int USB_Opening_Sequence(const char* file, int* detail, ProgressCallback cb);
VELINOR_EXPORT int USB_Versionup_Sequence(const char* file, int* detail, unsigned updateFlag,
                                          ProgressCallback cb);
VELINOR_EXPORT int USB_Versionup_Sequence_Trigger(int* detail, ProgressCallback cb);

/* Shows the message of a return code (the failed-design list for -13). */
VELINOR_EXPORT int USB_DisplayMessageByReturnCode(LinkWindow owner, const char* caption, int code,
                                                  int detail);

#ifdef __cplusplus
}
#endif

#endif
