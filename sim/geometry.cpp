// RAID geometry (see geometry.h).
#include "geometry.h"

#include "kx_codes.h"

namespace sim {

uint64_t roundedSize(uint64_t sizeKiB, uint8_t scheme)
{
    const uint64_t gib = 1048576;
    uint64_t unit = scheme == 1 ? gib : scheme == 2 ? 10 * gib : 1;
    return sizeKiB / unit * unit;
}

unsigned dataDiskCount(uint8_t raid, unsigned n, uint8_t parity, uint8_t subVDs)
{
    switch (raid) {
    case KX_RAID1:
    case KX_RAID10:
    case KX_RAID1E:
        return n / 2 ? n / 2 : 1;
    case KX_RAID5:
        return n > 1 ? n - 1 : 1;
    case KX_RAID6: {
        unsigned p = parity ? parity : 2;
        return n > p ? n - p : 1;
    }
    case KX_RAID50: {
        unsigned s = subVDs ? subVDs : 2;
        return n > s ? n - s : 1;
    }
    case KX_RAID60: {
        unsigned p = parity ? parity : 4;
        return n > p ? n - p : 1;
    }
    case KX_RAID_TANDEM_SAFE:
    case KX_RAID_TANDEM_HYBRID:
        return 1;
    default:  // RAID0, JBOD, tandem capacity: every member holds data
        return n ? n : 1;
    }
}

bool countFits(uint8_t raid, unsigned n, uint8_t parity)
{
    switch (raid) {
    case KX_RAID0: return n >= 1;
    case KX_RAID1: return n == 2;
    case KX_RAID_JBOD: return n == 1;
    case KX_RAID10: return n >= 4 && n % 2 == 0;
    case KX_RAID1E: return n >= 3;
    case KX_RAID5: return n >= 3;
    case KX_RAID6: return n >= 3 && n > (parity ? parity : 2u);
    case KX_RAID50: return n >= 6 && n % 2 == 0;
    case KX_RAID60: return n >= 8 && n % 2 == 0;
    case KX_RAID_TANDEM_CAPACITY:
    case KX_RAID_TANDEM_SAFE:
    case KX_RAID_TANDEM_HYBRID: return n >= 2;
    default: return false;
    }
}

unsigned survivableFailures(uint8_t raid, uint8_t parity)
{
    switch (raid) {
    case KX_RAID1:
    case KX_RAID5:
    case KX_RAID10:
    case KX_RAID1E:
    case KX_RAID50:
    case KX_RAID_TANDEM_SAFE:
        return 1;
    case KX_RAID6:
        return parity ? parity : 2;
    case KX_RAID60:
        return 2;
    default:
        return 0;
    }
}

}  // namespace sim
