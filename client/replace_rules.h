/*
 * The rules of a disk replacement: which free disk can take the place of
 * a lost member of a VD or array, and in plain words why another cannot.
 * Pure functions over HD_Info records, so the command line and any other
 * program offer the same disks for the same reasons (the web pages carry
 * the same rules in web/lib/replace.php, with the same texts).
 */
#ifndef CLIENT_REPLACE_RULES_H
#define CLIENT_REPLACE_RULES_H

#include <stdint.h>

#include <string>
#include <vector>

#include "kx_records.h"

namespace client {

/* What a member and its replacement must share. */
struct DiskKind {
    bool ssd = false;
    std::string iface;   /* "SATA", "PATA", "SAS" or "unknown" */
    unsigned sector = 0; /* bytes */

    bool operator==(const DiskKind &o) const { return ssd == o.ssd && iface == o.iface && sector == o.sector; }
};

DiskKind diskKind(const HD_Info &info);

/* "SATA hard disk, sector size 512". */
std::string diskKindWords(const DiskKind &kind);

/* A capacity in KiB as whole GB (10^9 bytes), rounded down (what a disk
   has) or up (what a place needs); tenths below 10 GB: "100.0 GB". */
std::string gbText(uint64_t kib, bool roundUp);

/* Where a disk sits, as "Linked at:" says it, the enclosure first when
   the disk is in one: "enclosure 0, expander 0, port 3". */
std::string slotText(const HD_Info &info);

/* Why a free disk with freeKiB of room cannot take the place of a member
   of memberKiB: the reasons in order (size, SSD or hard disk, interface,
   sector size), none when it can. reference is the lost member's kind
   (or that of the members still in place); null when none is known, and
   then only the size counts. */
std::vector<std::string> replacementWhyNot(uint64_t memberKiB, const DiskKind *reference, uint64_t freeKiB,
                                           const HD_Info &candidate);

} // namespace client

#endif /* CLIENT_REPLACE_RULES_H */
