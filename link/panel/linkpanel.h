#ifndef VELINOR_LINK_PANEL_LINKPANEL_H
#define VELINOR_LINK_PANEL_LINKPANEL_H

/* Linkpanel: the programs' way to the machine. The dialog functions run a modal dialog
 * over owner (the caller's frame window, or null) on the caller's thread and return when
 * the dialog has closed and any transfer it started has ended, so the caller may delete
 * the files it passed right after. One transfer dialog runs at a time per process. */

#include "link/link_types.h"
#include "platform/export.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Asks which program the machine has. force 0 with version 2 stored: 1 at once, nothing
 * shown. Else the dialog: 1 after OK (the choice stored), 2 after Cancel, -1 when it
 * cannot be made. */
VELINOR_EXPORT int CheckVersionDlg(LinkWindow owner, int force);

/* Delete Designs on the machine. 1 when the dialog could be made. */
VELINOR_EXPORT int DeleteData(LinkWindow owner);

/* Sends one QNF design image held in the caller's memory, unchanged, through the Send
 * Designs dialog. A non-empty name is announced to the machine as it is; an empty or null
 * name is replaced by the local time in base 36 with ".qnf". 1 when the dialog could be
 * made. */
VELINOR_EXPORT int DirectDownload(LinkWindow owner, const void* design, unsigned size,
                                  const char* name);

/* Sends the designs named in the caller's transfer list file (260-byte path records)
 * through the Send Designs dialog. askVersion 1: the first design over 32,700 stitches
 * asks the machine's program version once.
 * Returns 1 when the user pressed Start and the transfer ran to its end, however it ended:
 * that is not a promise that any design arrived (a failure, even one found before anything
 * went out, such as an unreadable list or a full machine, has been shown to the user by
 * then). 2 when the user closed the dialog before starting; 0 when the dialog cannot be
 * made. */
VELINOR_EXPORT int DirectFilesDownload(LinkWindow owner, const char* listFile, int askVersion);

/* 1 from the moment the user starts a send, receive or delete until that dialog ends; 0
 * otherwise. Safe to call at any time from painting code. */
VELINOR_EXPORT int GetTransferStatus(void);

/* The stored machine program version (1 or 2); -1 when it is missing, unreadable or
 * below 1. */
VELINOR_EXPORT int GetVersionCode(void);

/* Communication Settings (serial port and speed). 1 when the dialog could be made. */
VELINOR_EXPORT int SetSerialCommParamDlg(LinkWindow owner);

/* Lets the user pick designs with a file dialog and its send panel, then sends them.
 * folder holds the starting folder on entry (NUL-terminated) and receives the folder the
 * file dialog showed last, without a trailing separator, cut to fit folderCapacity bytes
 * with its NUL; nothing is written past folderCapacity. 0 when the file dialog failed,
 * else 1 (also when nothing was sent). */
VELINOR_EXPORT int TransferQNFFiles(LinkWindow owner, char* folder, unsigned folderCapacity);

/* Receive Designs from the machine. 1 when the dialog could be made. */
VELINOR_EXPORT int UploadData(LinkWindow owner);

#ifdef __cplusplus
}
#endif

#endif
