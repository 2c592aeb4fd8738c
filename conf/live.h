/*
 * What one adapter has now: the records plan and save compare and copy,
 * read through the client library's list walks.
 */
#ifndef CONF_LIVE_H
#define CONF_LIVE_H

#include <map>
#include <string>
#include <vector>

#include "document.h"
#include "kx_api.h"

namespace conf {

struct LiveDisk {
    HD_Info info;
    bool haveConfig = false;
    HD_Config config;
    bool haveStatus = false;
    HD_RAID_Status status;
};

struct LiveAdapter {
    KX_U8 number = 0;
    Adapter_Info info;
    Adapter_Config_V2 config;
    std::map<KX_U16, LiveDisk> disks;
    std::map<KX_U16, DG_Info> arrays;
    std::map<KX_U16, DG_Config> arrayConfigs;
    std::map<KX_U16, LD_Info> vds;
    std::map<KX_U16, LD_Config> vdConfigs;
    std::map<KX_U16, Block_Info> blocks;

    bool arrayBased() const { return info.MaxDiskGroup != 0; }
    /* The member disks of a VD in member order; -1 for a member whose
       block or disk is gone. */
    std::vector<int> vdDisks(const LD_Info &ld) const;
    std::string diskSerial(KX_U16 id) const;
    uint64_t diskSize(KX_U16 id) const;
};

/* A failed read: the operation and its status, and the line arrayctl's
   wording would give for it. */
struct ReadFailure {
    std::string operation;
    KX_U8 status = 0;
};

/* Reads adapter n whole. False with the failing call in failure. */
bool readAdapter(KX_U8 n, LiveAdapter &out, ReadFailure &failure);

/* Text of a fixed-size record field, blanks at both ends dropped. */
std::string fieldText(const KX_U8 *field, size_t size);

/* Rates are kept on the controller's 0-250 scale and shown in percent
   (truncated), as set and get do. */
int rateToPercent(unsigned raw);
KX_U8 percentToRate(int percent);

/* What save writes for an adapter. portable leaves out the serial numbers
   so that the document fits other servers with disks at the same IDs. */
AdapterDoc describe(const LiveAdapter &live, bool portable);

} // namespace conf

#endif /* CONF_LIVE_H */
