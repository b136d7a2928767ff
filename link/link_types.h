#ifndef VELINOR_LINK_LINK_TYPES_H
#define VELINOR_LINK_LINK_TYPES_H

/* What Linkpanel hands to the link libraries and gets back: transfer entries, the abort
 * handle, the callbacks and the return codes. Plain C, shared by Portline and Cablink. */

#include "platform/abort_event.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A window handle across the libraries; null means "no window". */
typedef void* LinkWindow;

/* One design of a transfer, 263 bytes: the path (a 260-byte list record plus its
 * terminating NUL), where it goes on the machine, and its number there (1-based; 0 when
 * sending). A list of n entries is n + 1 zeroed entries: an empty path ends it. */
enum {
  kTransferPathBytes = 261,
  kTransferEntryBytes = 263,
};
typedef struct TransferListEntry {
  char path[kTransferPathBytes];
  unsigned char destination;
  unsigned char designNo;
} TransferListEntry;

/* Called after each data block; returning 0 aborts the transfer. bytesDone counts the
 * payload moved so far, bytesTotal the whole payload. */
typedef int (*ProgressCallback)(int fileIndex, int fileCount, int bytesDone, int bytesTotal);

/* Asked when the machine refuses a delete or a diagnostic with this reply frame;
 * returning 1 sends the command again. */
typedef int (*RefusedCallback)(const unsigned char* reply);

/* Where a design goes on the machine. */
enum DesignDestination {
  kDestinationMemory = 1,
  kDestinationAtaCard = 2,
  kDestinationPcDesignCard = 4, /* receiving only */
  kDestinationMemoryFolder = 5, /* the Open/Save folder of built-in memory */
  kDestinationAtaCardFolder = 6 /* the Open/Save folder of the ATA PC card */
};

/* Every sequence's result. */
enum TransferReturnCode {
  kTransferOk = 0,
  kTransferTimeOut = -1,
  kTransferPortFailed = -3,
  kTransferBrokenPacket = -4,
  kTransferSendFailed = -5,
  kTransferInvalidReply = -6,
  kTransferNoMemory = -7,
  kTransferFileOpen = -8,
  kTransferFileRead = -9,
  kTransferFileWrite = -10,
  kTransferAborted = -11,
  kTransferRefused = -12,
  kTransferMachineFail = -13,
  kTransferDesignsFailed = -14,
  // The machine's USB device node is there but this user may not open it.
  kTransferDeviceDenied = -15,
  kTransferLogicError = -99
};

#ifdef __cplusplus
}
static_assert(sizeof(TransferListEntry) == kTransferEntryBytes);
#endif

#endif
