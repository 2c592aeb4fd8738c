/*
 * Texts of the controller's status codes. A failed controller call is
 * reported as one sentence ending in "(error %d: %s)" with the status and
 * ErrorMessage(status), e.g.
 *   fprintf(stream, "\nUnable to get info of VD %d (error %d: %s).\n",
 *           id, status, ErrorMessage(status));
 * after which the handler returns 1.
 */
#ifndef CLIENT_STATUS_TEXT_H
#define CLIENT_STATUS_TEXT_H

#include "kx_types.h"

/* The text of every code without one of its own. */
extern const char *const kUnknownStatusText;

/* Never fails: an unlisted code reads kUnknownStatusText. */
const char *ErrorMessage(KX_U8 code);
/* Number of codes with a text of their own. */
int ErrorMessageCount();

#endif /* CLIENT_STATUS_TEXT_H */
