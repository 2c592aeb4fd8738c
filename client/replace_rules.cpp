#include "replace_rules.h"

#include <math.h>
#include <stdio.h>

namespace client {

DiskKind diskKind(const HD_Info &info)
{
    unsigned ct = info.ConnectionType;
    if (ct == 0) {
        /* Older records say it in HDType only. */
        const unsigned t = info.HDType;
        ct = (t & 1) ? 0x05 : (t & 2) ? 0x09 : (t & 4) ? 0x06 : 0;
    }
    DiskKind k;
    k.iface = (ct & 0x05) == 0x05 ? "SATA" : (ct & 0x09) == 0x09 ? "PATA" : (ct & 0x06) == 0x06 ? "SAS" : "unknown";
    k.ssd = info.HD_SSD_Type != 0;
    k.sector = info.BlockSize;
    return k;
}

std::string diskKindWords(const DiskKind &kind)
{
    return kind.iface + (kind.ssd ? " SSD" : " hard disk") + ", sector size " + std::to_string(kind.sector);
}

std::string gbText(uint64_t kib, bool roundUp)
{
    const double gb = static_cast<double>(kib) * 1024 / 1e9;
    char buf[48];
    if (gb < 10) {
        const double v = (roundUp ? ceil(gb * 10) : floor(gb * 10)) / 10;
        snprintf(buf, sizeof buf, "%.1f GB", v);
    } else {
        snprintf(buf, sizeof buf, "%.0f GB", roundUp ? ceil(gb) : floor(gb));
    }
    return buf;
}

std::string slotText(const HD_Info &info)
{
    const Link_Endpoint &parent = info.Link.Parent;
    const unsigned port = parent.PhyID[0];
    const unsigned id = parent.DevID;
    std::string where;
    switch (parent.DevType) {
    case 255:
    case 12:
        where = "HBA port " + std::to_string(port);
        break;
    case 3:
        where = "expander " + std::to_string(id) + ", port " + std::to_string(port);
        break;
    case 2:
        where = "PM " + std::to_string(id) + ", port " + std::to_string(port);
        break;
    default:
        where = "device of type " + std::to_string(parent.DevType) + ", ID " + std::to_string(id) + ", port " +
                std::to_string(port);
    }
    const unsigned encl = info.Link.Self.EnclosureID;
    if (encl != 0xFFFF && encl != 0xFF)
        where = "enclosure " + std::to_string(encl) + ", " + where;
    return where;
}

std::vector<std::string> replacementWhyNot(uint64_t memberKiB, const DiskKind *reference, uint64_t freeKiB,
                                           const HD_Info &candidate)
{
    std::vector<std::string> why;
    if (freeKiB < memberKiB)
        why.push_back("too small: " + gbText(freeKiB, false) + ", needs " + gbText(memberKiB, true));
    if (!reference)
        return why;
    const DiskKind k = diskKind(candidate);
    if (k.ssd != reference->ssd)
        why.push_back(k.ssd ? "SSD, the member is a hard disk" : "hard disk, the member is an SSD");
    if (k.iface != reference->iface)
        why.push_back(k.iface + ", the member is " + reference->iface);
    if (k.sector != reference->sector)
        why.push_back("sector size " + std::to_string(k.sector) + ", the member has " + std::to_string(reference->sector));
    return why;
}

} // namespace client
