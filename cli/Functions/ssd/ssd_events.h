/*
 * Texts of the events an SSD keeps in its own event log.
 */
#ifndef SSD_EVENTS_H
#define SSD_EVENTS_H

#include <stdio.h>
#include "kx_types.h"

/* Writes the lines of one event (each begins with two blanks, or a tab
   for the detail lines): id is the event ID, params the entry's four
   parameters, xfer its transfer count. */
void printSsdEvent(FILE *out, KX_U32 id, const KX_U32 params[4], KX_U16 xfer);

#endif /* SSD_EVENTS_H */
