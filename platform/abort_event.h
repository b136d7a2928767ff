#ifndef VELINOR_PLATFORM_ABORT_EVENT_H
#define VELINOR_PLATFORM_ABORT_EVENT_H

/* The abort signal handed across the link libraries' C interfaces: an opaque handle to a
 * manual-reset event. The dialog that starts a transfer creates it and sets it to cancel;
 * the link library only tests it. A null handle is never set. */

#include "platform/export.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct VelinorAbortEvent VelinorAbortEvent;

VELINOR_EXPORT VelinorAbortEvent* AbortEventCreate(void);
VELINOR_EXPORT void AbortEventDestroy(VelinorAbortEvent* event);
VELINOR_EXPORT void AbortEventSet(VelinorAbortEvent* event);
VELINOR_EXPORT void AbortEventReset(VelinorAbortEvent* event);
/* 1 when set, 0 when not set or null. */
VELINOR_EXPORT int AbortEventIsSet(const VelinorAbortEvent* event);

#ifdef __cplusplus
}
#endif

#endif
