/*
 * Event messages as the controller library formats them itself, for the
 * `message` command: one record per queued event, with its time and text
 * ready to print.
 */
#ifndef KX_EVENT_MESSAGE_H
#define KX_EVENT_MESSAGE_H

#include "kx_records.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Event_Message: 208 bytes */
typedef struct _Event_Message {
    KX_U16 Class;       /* event class */
    KX_U16 Code;        /* event code */
    KX_U32 SequenceNo;
    KX_U8 Severity;
    KX_U8 AdapterID;
    KX_U8 reserved[6];
    char time[64];      /* time text, NUL-terminated */
    char msg[128];      /* message text, NUL-terminated */
} KX_PACKED Event_Message, *PEvent_Message;

KX_CHECK_SIZE(Event_Message, 208);
KX_CHECK_OFFSET(Event_Message, Class, 0);
KX_CHECK_OFFSET(Event_Message, Code, 2);
KX_CHECK_OFFSET(Event_Message, SequenceNo, 4);
KX_CHECK_OFFSET(Event_Message, Severity, 8);
KX_CHECK_OFFSET(Event_Message, AdapterID, 9);
KX_CHECK_OFFSET(Event_Message, reserved, 10);
KX_CHECK_OFFSET(Event_Message, time, 16);
KX_CHECK_OFFSET(Event_Message, msg, 80);

/* Fills up to max messages of the adapter's queued events, oldest first,
   and sets *count to the number filled. The queue is left as it is: the
   events still go to whoever drains them with KX_EVT_GetEvent. */
KX_U8 KX_EVT_GetEventMessage(KX_U8 adapter, KX_U8 max, KX_U8 *count, Event_Message *messages);

#ifdef __cplusplus
}
#endif

#endif /* KX_EVENT_MESSAGE_H */
