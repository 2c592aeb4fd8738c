/*
 * Texts of the controller's status codes. A failed controller call is
 * reported as one sentence ending in "(error %d: %s)" with the status and
 * ErrorMessage(status), e.g.
 *   fprintf(stream, "\nUnable to get info of VD %d (error %d: %s).\n",
 *           id, status, ErrorMessage(status));
 * after which the handler returns 1.
 */
#ifndef CLI_ERRORS_H
#define CLI_ERRORS_H

#include "kx_types.h"

/* Never fails: an unlisted code reads "Unknown error". */
const char *ErrorMessage(KX_U8 code);
/* Number of codes with a text of their own. */
int ErrorMessageCount();

#endif /* CLI_ERRORS_H */
