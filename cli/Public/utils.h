/*
 * Small conversions and texts shared by the command handlers. Plain
 * functions without state; the conversions never fail, so callers test
 * isNumber or isHex first and range-check the value themselves.
 */
#ifndef CLI_UTILS_H
#define CLI_UTILS_H

#include <stddef.h>
#include "kx_records.h"

/* Every character a decimal digit; the empty text counts as a number. */
bool isNumber(const char *text);
/* "0x" or "0X", at least one more character, all hexadecimal digits. */
bool isHex(const char *text);
/* Value of the hex digits after the first two characters, 32 bits (more
   than eight digits lose the high ones). */
KX_U32 atohex(const char *text);
/* A number typed as decimal digits (isNumber, not empty) or as "0x"
   hexadecimal (isHex) that fits 32 bits; false for anything else, so a
   long number is refused instead of losing its high digits. */
bool parseDecOrHex32(const char *text, KX_U32 *out);
/* Lowers every upper-case letter in place; returns text. */
char *strlwr(char *text);

/* RAID-level keyword of an option ("0", "1", "5", "6", "10", "1e"/"1E",
   "50", "60", "hc", "hs", "hybrid") to its code; 255 otherwise. */
KX_U8 chooseRaidMode(const char *text);
/* Display text of a RAID-level code; "unknown" when not listed. */
const char *RaidModeStr(KX_U8 code);
/* "start" 0, "restart" 1, "pause" 2, "resume" 3, "stop" 4; else 255.
   Case-sensitive. */
KX_U8 chooseBGAAction(const char *text);

/* Disk-type text of a disk ("SATA PD", "SAS ENCLOSURE", ...). out must
   hold at least CLI_HDTYPE_LEN bytes. useExtension: read ConnectionType
   and DeviceType (the extended record) instead of HDType. */
#define CLI_HDTYPE_LEN 32
void getHdTypeString(char *out, const HD_Info *hdInfo, int useExtension);

/* "0, 1, 2, 3" for ids 0..3. Writes at most outSize bytes, NUL included,
   dropping IDs that no longer fit whole. */
void getPhyIdString(char *out, size_t outSize, const KX_U16 *ids, int count);

/* Before a disk joins a virtual disk (create, migrate, rebuild): 0 when
   no block of diskId belongs to a VD other than sourceVdId, 73 when one
   does, else the controller's status (4 when memory runs out). Always 0
   on adapters with DevID <= 0x6300 and on array-based adapters. */
KX_U8 HDisFreeDiskForBirch(KX_U16 diskId, KX_U16 sourceVdId);

#endif /* CLI_UTILS_H */
