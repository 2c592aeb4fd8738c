/*
 * The controller's vocabulary: status codes, RAID codes and the
 * LogicalDriverMode bits that offer them, the state and capability bits
 * that more than one program reads, and the ID sentinels (kx_types.h).
 *
 * Every program of the suite and the simulated controller name these
 * facts from here; a literal for one of them anywhere else is a second
 * copy waiting to part from this one. The texts of the status codes live
 * with the clients (one table, see the client library's status_text.h).
 */
#ifndef KX_CODES_H
#define KX_CODES_H

#include "kx_types.h"

/* ---- status codes (the 8-bit result of every operation) ---- */
enum KxStatus {
    KX_ST_OK = 0,
    KX_ST_FAILED = 1,
    KX_ST_NO_RESOURCE = 4,
    KX_ST_OUT_OF_RANGE = 5,
    KX_ST_INVALID_REQUEST = 6,
    KX_ST_INVALID_PARAM = 7,
    KX_ST_BAD_VD = 8,
    KX_ST_BAD_PD = 9,
    KX_ST_BAD_EXPANDER = 10,
    KX_ST_BAD_PM = 11,
    KX_ST_BAD_BLOCK = 12,
    KX_ST_BAD_ADAPTER = 13,
    KX_ST_BAD_RAID = 14,
    KX_ST_BAD_ENCLOSURE = 15,
    KX_ST_BAD_BBU = 16,
    KX_ST_BAD_ARRAY = 17,
    KX_ST_BAD_ELEMENT = 18,
    KX_ST_NOT_SUPPORTED = 19,
    KX_ST_LINK_TIMEOUT = 20,
    KX_ST_KEY_PRESENT = 21,
    KX_ST_KEY_ABSENT = 22,
    KX_ST_DIAG_COMMAND_PHASE = 23,
    KX_ST_DIAG_DATA_PHASE = 24,
    KX_ST_DIAG_STATUS_PHASE = 25,
    KX_ST_DIAG_STATUS_PHASE_ERROR = 26,
    KX_ST_DIAG_STATUS_COMMAND_ERROR = 27,
    KX_ST_TANDEM_SSD_COUNT = 28,
    KX_ST_TANDEM_NO_ERASE = 29,
    KX_ST_REGISTER_BUSY = 30,
    KX_ST_PD_FUNCTIONAL_MEMBER = 51,
    KX_ST_TARGET_SMALLER = 52,
    KX_ST_NOT_SPARE = 53,
    KX_ST_IS_SPARE = 54,
    KX_ST_PD_MISSING = 55,
    KX_ST_PD_ASSIGNED = 56,
    KX_ST_PD_COUNT_FOR_RAID = 57,
    KX_ST_VD_NOT_READY = 58,
    KX_ST_NO_VD = 59,
    KX_ST_VD_FUNCTIONAL = 60,
    KX_ST_VD_HAS_BGA = 61,
    KX_ST_BGA_RUNNING = 63,
    KX_ST_NO_VD_ID = 64,
    KX_ST_ATAPI = 65,
    KX_ST_PARITY_COUNT = 66,
    KX_ST_BLOCK_SIZE = 67,
    KX_ST_MIGRATION_UNNEEDED = 68,
    KX_ST_STRIPE_MISMATCH = 69,
    KX_ST_MIGRATION_UNSUPPORTED = 70,
    KX_ST_VD_NOT_INITIALIZED = 71,
    KX_ST_VD_NAME = 72,
    KX_ST_BLOCK_OF_VD = 73, /* "not of the same type": also "a block of the disk is in use" */
    KX_ST_SECTOR_SIZE_MISMATCH = 74,
    KX_ST_ARRAY_EMPTY = 75,
    KX_ST_ARRAY_HAS_VD = 76,
    KX_ST_SPARE_TOO_SMALL = 77,
    KX_ST_DEDICATED_SPARE = 78,
    KX_ST_DISK_MISSING = 79,
    KX_ST_NOT_IMPORTABLE = 80,
    KX_ST_ANOTHER_MIGRATION = 81,
    KX_ST_ARRAY_HAS_BGA = 82,
    KX_ST_PD_CANNOT_GO_DOWN = 83,
    KX_ST_PD_NOT_OFFLINE = 84,
    KX_ST_LD_STATUS = 85,
    KX_ST_NOT_REPORTABLE = 86,
    KX_ST_NOT_REDUNDANT = 87,
    KX_ST_ONE_MEDIA_PATROL = 88,
    KX_ST_SPARE_IN_USE = 89,
    KX_ST_DEVICE_MISMATCH = 151,
    KX_ST_BAD_PD_COUNT = 152,
    KX_ST_BAD_BGA_ACTION = 153,
    KX_ST_PD_OTHER_ADAPTER = 154,
    KX_ST_BAD_FLASH_TYPE = 155,
    KX_ST_BAD_FLASH_ACTION = 156,
    KX_ST_VD_HAS_OS = 158,
    KX_ST_PD_HAS_OS = 159,
    KX_ST_ADAPTER_UNSUPPORTED = 160,
    KX_ST_ONE_MIGRATION = 161,
    KX_ST_NO_SGPIO = 162,
    KX_ST_BAD_DATA = 163,
    KX_ST_NO_MEMORY = 164, /* "IoControl buffer size is too big.": the tools' allocation failure */
    KX_ST_BAD_FILE = 165,
    KX_ST_BAD_MICROCODE = 166,
    KX_ST_BAD_FLASH_BUFFER = 184,
    KX_ST_BAD_FLASH_DESCRIPTOR = 185,
    KX_ST_AES_ENTRY_RANGE = 241,
    KX_ST_AES_PORT_RANGE = 242,
    KX_ST_AES_COUNT = 243,
    KX_ST_AES_REQUEST_TYPE = 244,
    KX_ST_AES_KEY_LENGTH = 245,
    KX_ST_AES_NOT_OFFLINE = 246,
    KX_ST_AES_KEY_MISMATCH = 247,
    KX_ST_AES_PASSWORD_MISMATCH = 248,
    KX_ST_AES_PORT_NOT_FOUND = 249,
    KX_ST_AES_ENTRY_NO_KEY = 250,
};

/* ---- RAID codes (LD_Info.RaidMode, DG_Info.RaidMode, Create_LD_Param.RaidMode) ---- */
enum KxRaidCode {
    KX_RAID0 = 0,
    KX_RAID1 = 1,
    KX_RAID5 = 5,
    KX_RAID6 = 6,
    KX_RAID_TANDEM_CAPACITY = 10,
    KX_RAID_TANDEM_SAFE = 11,
    KX_RAID_TANDEM_HYBRID = 12,
    KX_RAID_JBOD = 15,
    KX_RAID10 = 16,
    KX_RAID1E = 17,
    KX_RAID50 = 80,
    KX_RAID60 = 96,
    KX_RAID_NONE = 255, /* "no level given" in option parsers */
};

/* One RAID level: its code, the LogicalDriverMode bit of an adapter that
   offers it, the short name of default VD names, the word of the adapter
   listing, its name in object listings, and the word that asks for it in
   a -r option (none for JBOD). The rows are in the order the adapter
   listing names the levels. */
struct KxRaidLevel {
    KX_U8 code;
    KX_U8 modeBit;
    const char *shortName;
    const char *listWord;
    const char *name;
    const char *optionWord;
};

static const struct KxRaidLevel kKxRaidLevels[] = {
    {KX_RAID0, 0, "R0", "RAID0", "RAID0", "0"},
    {KX_RAID1, 1, "R1", "RAID1", "RAID1", "1"},
    {KX_RAID5, 4, "R5", "RAID5", "RAID5", "5"},
    {KX_RAID6, 5, "R6", "RAID6", "RAID6", "6"},
    {KX_RAID10, 2, "R10", "RAID10", "RAID10", "10"},
    {KX_RAID1E, 3, "R1E", "RAID1E", "RAID1e", "1e"},
    {KX_RAID50, 6, "R50", "RAID50", "RAID50", "50"},
    {KX_RAID60, 8, "R60", "RAID60", "RAID60", "60"},
    {KX_RAID_JBOD, 7, "JBD", "JBOD", "JBOD", 0},
    {KX_RAID_TANDEM_CAPACITY, 9, "Tandem_c", "hc(tandem capacity)", "tandem capacity", "hc"},
    {KX_RAID_TANDEM_SAFE, 10, "Tandem_s", "hs(tandem safe)", "tandem safe", "hs"},
    {KX_RAID_TANDEM_HYBRID, 11, "Hybrid", "hybrid(tandem hybrid)", "tandem hybrid", "hybrid"},
};
#define KX_RAID_LEVEL_COUNT (sizeof kKxRaidLevels / sizeof kKxRaidLevels[0])

/* The row of a RAID code; a null pointer for a code no adapter offers. */
static inline const struct KxRaidLevel *kxRaidLevel(unsigned code)
{
    for (unsigned i = 0; i < KX_RAID_LEVEL_COUNT; ++i)
        if (kKxRaidLevels[i].code == code)
            return &kKxRaidLevels[i];
    return 0;
}

/* A RAID code's name in object listings; "unknown" for any other code. */
static inline const char *kxRaidName(unsigned code)
{
    const struct KxRaidLevel *l = kxRaidLevel(code);
    return l ? l->name : "unknown";
}

/* The LogicalDriverMode bit of a RAID code; -1 when no bit offers it. */
static inline int kxRaidModeBit(unsigned code)
{
    const struct KxRaidLevel *l = kxRaidLevel(code);
    return l ? l->modeBit : -1;
}

/* Whether an adapter's LogicalDriverMode offers a RAID code. */
static inline int kxRaidOffered(KX_U16 logicalDriverMode, unsigned code)
{
    int bit = kxRaidModeBit(code);
    return bit >= 0 && (logicalDriverMode & (1u << bit)) != 0;
}

/* The Tandem levels (SSD cache in front of one hard disk). */
static inline int kxIsTandemRaid(unsigned code)
{
    return code == KX_RAID_TANDEM_CAPACITY || code == KX_RAID_TANDEM_SAFE || code == KX_RAID_TANDEM_HYBRID;
}

/* LogicalDriverMode bits of the Tandem levels: capacity and safe (the
   levels a Tandem table is made of), and all three. */
#define KX_LDM_TANDEM_CS    0x0600u
#define KX_LDM_TANDEM_ALL   0x0E00u

/* ---- capability bits of Adapter_Info read by more than one program ---- */
/* Features */
#define KX_FEAT_REBUILD          0x01u
#define KX_FEAT_BG_INIT          0x02u
#define KX_FEAT_MEDIA_PATROL     0x10u
#define KX_FEAT_BGA_ANY          0x3Fu
/* AdvancedFeatures */
#define KX_ADV_STRIPE_1024       (1u << 1)  /* stripe sizes up to 1024 KB by default */
#define KX_ADV_WRITE_BACK_OK     (1u << 3)  /* write-back by default (with a battery) */
#define KX_ADV_NO_WRITE_CACHE    (1u << 14) /* VD write cache cannot be set */
#define KX_ADV_NO_READ_CACHE     (1u << 15) /* VD read cache cannot be set */
#define KX_ADV_NO_GB_ROUNDING    (1u << 17)
#define KX_ADV_TANDEM_REBUILD    (1u << 23)
#define KX_ADV_NO_AUTO_REBUILD   (1u << 24) /* also: no spares */
#define KX_ADV_HYBRID_WRITE_BACK (1u << 25)

/* ---- HD_RAID_Status.Status bits ---- */
#define KX_PD_FREE            0x01u
#define KX_PD_ASSIGNED        0x02u
#define KX_PD_GLOBAL_SPARE    0x04u
#define KX_PD_OFFLINE         0x08u
#define KX_PD_MEDIA_PATROL    0x20u
#define KX_PD_DEDICATED_SPARE 0x40u
#define KX_PD_FOREIGN         0x80u

/* ---- background activities: states of LD_Status.BgaState,
   DG_Info.BgaState and HD_BGA_Status.BgaStatus ---- */
#define KX_BGA_RUNNING     1
#define KX_BGA_ABORTED     2
#define KX_BGA_PAUSED      3
#define KX_BGA_AUTO_PAUSED 4

/* The most disks one request names (HDIDs / PDIDs, 8-bit count). */
#define KX_MAX_PD_LIST 128

#endif /* KX_CODES_H */
