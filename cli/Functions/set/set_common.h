/*
 * What the two handlers of the set command share: doSet for adapters
 * without disk groups and doSetV2 for array-based ones. Both parse into
 * one option state, check each named property against the adapter's
 * capabilities, and change a record the controller gave them, field by
 * field (read, modify, write).
 */
#ifndef SET_COMMON_H
#define SET_COMMON_H

#include <initializer_list>

#include "kx_api.h"
#include "Public/cli_types.h"

enum SetObject { SET_NONE, SET_PD, SET_VD, SET_HBA, SET_DRIVER, SET_LINK, SET_ARRAY, SET_BBU, SET_MUTE };

/* One bit per property that an option names; an object takes a set of
   them and refuses the others. */
enum SetProperty : unsigned long {
    SP_NAME = 1ul << 0,
    SP_BGA_RATE = 1ul << 1,
    SP_SYNC_RATE = 1ul << 2,
    SP_INIT_RATE = 1ul << 3,
    SP_REBUILD_RATE = 1ul << 4,
    SP_MIGRATION_RATE = 1ul << 5,
    SP_COPYBACK_RATE = 1ul << 6,
    SP_MEDIA_PATROL_RATE = 1ul << 7,
    SP_SERIAL = 1ul << 8,
    SP_MODEL = 1ul << 9,
    SP_PHY = 1ul << 10, /* -a or -w */
    SP_READ_AHEAD = 1ul << 11,
    SP_WRITE_POLICY = 1ul << 12,
    SP_RESTORE = 1ul << 13,
    SP_AUTO_REBUILD = 1ul << 14,
    SP_CACHE = 1ul << 15,
    SP_SMART = 1ul << 16,
    SP_BUZZER = 1ul << 17,
    SP_OPTIMIZE = 1ul << 18,
    SP_POWER = 1ul << 19,
    SP_PD_STATUS = 1ul << 20,
    SP_VATAPI = 1ul << 21,
    SP_CONSOLIDATE = 1ul << 22,
    SP_RAW_UPDATE = 1ul << 23,
    SP_COPYBACK = 1ul << 24,
    SP_BBU_ACTION = 1ul << 25,
    SP_PD_ID = 1ul << 26, /* -d, the disk of a link */
};
const unsigned long SP_RATES = SP_BGA_RATE | SP_SYNC_RATE | SP_INIT_RATE | SP_REBUILD_RATE |
                               SP_MIGRATION_RATE | SP_COPYBACK_RATE | SP_MEDIA_PATROL_RATE;

/* Room for a name, serial number or model as typed, quotes removed. */
#define SET_NAME_MAX 10
#define SET_TEXT_MAX 20

/* Parsed options. Every property starts at -1 (not named); a flag option
   stores its value, a rate its value on the controller's 0-250 scale. */
struct SetOptions {
    SetObject object = SET_NONE;
    long id = -1;   /* -i; -1: not given */
    long pdId = -1; /* -d */
    char idText[16] = "";
    bool haveName = false;
    char name[SET_NAME_MAX + 1] = "";
    bool haveSerial = false;
    char serial[SET_TEXT_MAX + 1] = "";
    bool haveModel = false;
    char model[SET_TEXT_MAX + 1] = "";
    int bgaRate = -1, syncRate = -1, initRate = -1, rebuildRate = -1, migrationRate = -1,
        copybackRate = -1, mediaPatrolRate = -1;
    int phyCode = -1, port = -1;
    int readAhead = -1, writePolicy = -1, restore = -1, autoRebuild = -1, cache = -1, smart = -1,
        buzzer = -1, optimize = -1, power = -1, pdStatus = -1, vatapi = -1, consolidate = -1,
        rawUpdate = -1, copyBack = -1, bbuAction = -1;

    /* The SP_ bits of every property named. */
    unsigned long named() const;
};

/* Parses the options of doSet (v2 false) or doSetV2 (v2 true), then the
   checks that follow parsing: duplicates, the name's characters, a
   missing -o. Returns -1 when the handler goes on, else its result (0
   after the help, 1 after an option error). */
int setParseOptions(int argc, char **argv, cmd_struct *pCmdInfo, bool v2, SetOptions &o);

/* Bit n of a capability word. */
inline bool setBit(KX_U32 value, int n)
{
    return (value >> n) & 1u;
}

/* The checks a PD, VD or array setting starts with: only properties the
   object takes (else invalidSettings), an ID other than 255 (else
   invalidIdFormat, a printf format taking the ID) and, when nothingNamed
   is given, at least one property (else nothingNamed). Returns -1 when
   they hold, else 1 after the message. */
int setCheckObject(const SetOptions &o, unsigned long allowed, const char *invalidSettings,
                   const char *invalidIdFormat, const char *nothingNamed);

/* Whether the current adapter lets a PD's write cache and status be set
   as asked. Returns -1 when it does, else KX_ST_NOT_SUPPORTED after the
   message. */
int setPdCapabilities(const SetOptions &o);

/* Whether the current adapter takes the VD cache settings asked for (write
   policy, restore, read-ahead, "auto"); false after the message. */
bool setVdCacheAllowed(const SetOptions &o);

/* The VD's configuration record; false after the message. */
bool setReadVdConfig(KX_U16 id, LD_Config &cfg);

/* A capability check of an adapter setting: refused, and the message
   (a printf format taking the adapter ID). */
struct SetRefusal {
    bool refused;
    const char *text;
};
/* Writes the message of the first refused check; true when one was. */
bool setAnyRefused(std::initializer_list<SetRefusal> checks, int adapter);

/* Write policy codes in bits 0, 1 and 3 of CacheMode. */
const KX_U8 kWriteBack = 0, kWriteThrough = 1, kWriteAuto = 8;
const KX_U8 kWritePolicyBits = 0x0B, kReadAheadBit = 0x04;

/* The write policy asked for: the policy itself, or the cache flag
   (on is write-back, off write-through); -1 when neither is named. */
int setWritePolicy(const SetOptions &o);

/* Applies the name, the write policy and read-ahead to a VD's record. */
void setApplyVd(LD_Config &c, const SetOptions &o);

/* Applies every HBA property named; V1 pads a model with blanks like the
   serial number, V2 only the serial number. */
void setApplyHba(Adapter_Config_V2 &c, const SetOptions &o, bool padModel);

/* The adapter's configuration record (KX_Adapter_GetConfig) into out.
   The buffer has room for one record per adapter, so the library can
   never write past it, whatever it returns. */
KX_U8 setReadAdapterConfig(KX_U8 adapter, Adapter_Config_V2 &out);

/* The capability record of the adapter a setting of the HBA is meant
   for: its own when it was found at start-up, else the current one's. */
const Adapter_Info &setAdapterCaps(long id);

/* Cache and status steps of a PD (both tables): a changed write cache
   through KX_PD_GetConfig / KX_PD_SetConfig, then KX_PD_SetHDStatus.
   Prints each failure; returns the last status (1 for a failed read). */
int setPdCacheAndStatus(KX_U16 id, const SetOptions &o);

/* A SATA PHY control code goes to one port: -a and -w come together.
   Prints the missing one and returns false otherwise. */
bool setPhyPairGiven(const SetOptions &o, const char *cmd);

/* KX_VDHDD_AddLink of the VD named by -i and the disk named by -d (cmd
   names the command when -d is missing). */
int setLink(const SetOptions &o, const char *cmd);

#endif /* SET_COMMON_H */
