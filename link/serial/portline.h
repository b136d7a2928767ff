#ifndef VELINOR_LINK_SERIAL_PORTLINE_H
#define VELINOR_LINK_SERIAL_PORTLINE_H

/* Portline: the machine's serial link. One port, one session, one caller at a time per
 * process. Every function returns a TransferReturnCode; detail receives the machine's
 * refusal reason. */

#include "link/link_types.h"
#include "platform/export.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Opens "COM1".."COM6" (null: the last name again) at the rate, keeping the abort handle
 * for every read until SIO_TerminateIO. 0 or -3. */
VELINOR_EXPORT int SIO_InitializeIO(const char* portName, int baudRate, VelinorAbortEvent* abortEvent);
/* Sets the open port's line to the rate, 8N1, no flow control. 0 or -3 (the port closed). */
VELINOR_EXPORT int SetDCBInformation(int baudRate);
/* Closes the port and forgets the abort handle. */
VELINOR_EXPORT int SIO_TerminateIO(void);

VELINOR_EXPORT int Protocol_Seq_Download(int baudRate, TransferListEntry* list, int count,
                                         int* detail, ProgressCallback cb);
VELINOR_EXPORT int Protocol_Seq_Download_Direct(int baudRate, const void* design, unsigned size,
                                                const char* name, int destination, int* detail,
                                                ProgressCallback cb);
VELINOR_EXPORT int Protocol_Seq_Upload(int baudRate, TransferListEntry* list, int count,
                                       int* detail, ProgressCallback cb);
VELINOR_EXPORT int Protocol_Seq_DirUpload(int baudRate, const char* outFile, int destination,
                                          int* detail, ProgressCallback cb);
VELINOR_EXPORT int Protocol_Seq_Delete(int destination, int designNo, int* detail,
                                       RefusedCallback onRefused);
VELINOR_EXPORT int Protocol_Seq_DownloadOpeningBMP(int baudRate, const char* file, int* detail,
                                                   ProgressCallback cb);
VELINOR_EXPORT int Protocol_Seq_DownloadDiagnostic(int baudRate, const char* file, int* detail,
                                                   ProgressCallback cb);
VELINOR_EXPORT int Protocol_Seq_Diagnostic(int value, int* detail, RefusedCallback onRefused);
VELINOR_EXPORT int Protocol_Seq_Versionup(int baudRate, const char* file, int* detail,
                                          unsigned updateFlag, ProgressCallback cb);
VELINOR_EXPORT int Protocol_Seq_Versionup_Trigger(int baudRate, int* detail);

/* Shows the message of a return code in a box owned by owner (none without an owner),
 * and the list of failed designs for -14. */
VELINOR_EXPORT int DisplayMessageByReturnCode(LinkWindow owner, const char* caption, int code,
                                              int detail);

#ifdef __cplusplus
}
#endif

#endif
