/*
 * Value texts of the info and status commands.
 *
 * Pure functions over controller records: no controller calls, no output
 * stream. The handlers compose these into labelled lines; keeping them
 * apart lets every word table and bit rule be checked in-process.
 *
 * Every function that reads a fixed-size array of a record bounds itself by
 * that array's declared size, whatever count field the controller sent.
 */
#ifndef CLIENT_RECORD_WORDS_H
#define CLIENT_RECORD_WORDS_H

#include <stddef.h>
#include <functional>
#include <string>
#include <vector>
#include "kx_codes.h"
#include "kx_records.h"

/* ---- shared value words ---- */
const char *infoBgaTypeWord(unsigned bga);           /* LD_Status.Bga, DG_Info.BgaType */
const char *infoBgaStateWord(unsigned state);        /* 2..5; nullptr otherwise */
const char *infoVdBgaStatusWord(unsigned status);    /* LD_Info.BGAStatus */
const char *infoVdStatusWord(unsigned status);       /* LD_Info.Status */

/* Fixed-width text field as shown: at most max bytes, stopping at NUL.
   skipLeadingBlanks drops leading spaces; maskNonPrintable shows every
   non-printable byte as '?'. */
std::string infoFieldText(const KX_U8 *field, size_t max, bool skipLeadingBlanks,
                          bool maskNonPrintable);
/* Eight address bytes, in order, as 16 upper-case hex digits. */
std::string infoSasAddress(const KX_U8 *bytes8);

/* ---- adapter block ---- */
const char *infoPcieSpeed(KX_U8 speed);
std::string infoChipRevision(KX_U8 revision);
std::string infoVersion(unsigned a, unsigned b, unsigned c, unsigned d);
std::string infoPortTypes(KX_U8 portSupportType);
std::string infoRaidModes(KX_U16 logicalDriverMode);
std::string infoFeatureWords(KX_U8 features);
std::string infoAdvancedFeatureWords(KX_U32 adv, KX_U8 features, KX_U32 adv2);
std::string infoAdvancedFeature2Words(KX_U32 adv2);
/* Empty when no stripe size is left after the defaults are applied. */
std::string infoStripeSizes(KX_U16 stripeSizeSupported, KX_U32 adv);

/* ---- physical disks ---- */
/* What kind of disk an HD_Info describes; the older record carries the
   same facts in HDType only. */
struct InfoPdKind {
    bool sas;
    bool pata;
    bool notDisk;      /* the Size line says "not available" */
    bool diskDevice;   /* free space and media patrol apply */
};
InfoPdKind infoPdKind(const HD_Info &hd, bool extended);
std::string infoLinkedAt(const HD_Info &hd);
std::string infoSupportedSpeeds(KX_U32 featureSupport);
const char *infoDriveSpeed(KX_U8 driveSpeed);
bool infoLocateLedShown(const HD_Info &hd);
const char *infoPdRunningOs(KX_U8 status);
const char *infoVdRunningOs(KX_U8 status);
/* The disk's background-activity line, label and value; false when the
   record calls for no line. */
bool infoPdBgaLine(const HD_BGA_Status &bga, std::string &label, std::string &value);

/* Block IDs of a disk: the first BlkCount entries, or the used ones of the
   16 entries when BlkCount is 0. */
std::vector<KX_U16> infoHdBlockIds(const HD_Block_Info &hb);

/* ---- virtual disks ---- */
/* Block IDs of a VD that the listing walks: the first BlkCount entries,
   or all 16 first entries when BlkCount is 0. */
unsigned infoVdBlockSlots(const LD_Info &ld);
bool infoVdBlockMissing(const LD_Info &ld, KX_U16 blockId);
/* Member disks per group of the "PD RAID setup" line; 0 means one group. */
unsigned infoVdGroupSize(const LD_Info &ld);
/* "Block ids:" value of a VD. */
std::string infoVdBlockIds(const LD_Info &ld);
/* "PD RAID setup:" value; lookup gives a block's disk and returns the
   status of that query. */
std::string infoPdRaidSetup(const LD_Info &ld,
                            const std::function<KX_U8(KX_U16 blockId, KX_U16 &hdId)> &lookup);
const char *infoCacheMode(KX_U8 cacheMode);
/* Value of the "BGA progress:" line; empty when the state shows none. */
std::string infoVdProgress(const LD_Status &st);
const char *infoTandemStatusWord(const LD_Info &ld, const LD_Status &st);
std::string infoLastWriteTime(const LD_Info &ld);

/* ---- arrays, blocks, spares ---- */
std::string infoArrayBga(const DG_Info &dg);
const char *infoArrayStatus(KX_U8 status);
const char *infoBlockStatus(KX_U16 flags);
std::string infoSpareStatus(const HD_RAID_Status &rs);

/* ---- battery ---- */
std::string infoBbuStatus(const BBU_Info &bbu);
std::string infoBbuSensors(KX_U16 featureSupport);

#endif /* CLIENT_RECORD_WORDS_H */
