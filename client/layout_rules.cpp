#include "layout_rules.h"

#include <stdio.h>

namespace client {

namespace {

std::string format(const char *fmt, int a, int b = 0)
{
    char buf[160];
    snprintf(buf, sizeof buf, fmt, a, b);
    return buf;
}

/* The levels every rule set words alike. Returns 1 when n fits, 0 after
   setting message, -1 for a level left to the caller. */
int commonCount(bool vdCreate, unsigned raid, int n, std::string &message)
{
    const char *refusal = nullptr;
    switch (raid) {
    case KX_RAID0:
        /* Only a VD made from disks counts them for RAID0; a migration to
           RAID0 takes what it is given. */
        if (!vdCreate)
            return -1;
        if (n < 2)
            message = format("RAID0 needs at least %d PD.\n", 2);
        return n < 2 ? 0 : 1;
    case KX_RAID1:
        refusal = n != 2 ? "RAID1 needs exactly 2 PDs.\n" : nullptr;
        break;
    case KX_RAID10:
        refusal = n < 4 || n % 2 ? "RAID10 needs at least 4 or more even number of PDs.\n" : nullptr;
        break;
    case KX_RAID1E:
        refusal = n < 3 || n % 2 == 0 ? "RAID1E needs at least 3 or more odd number of PDs.\n" : nullptr;
        break;
    case KX_RAID5:
        refusal = n < 3 ? "RAID5 needs at least 3 PDs.\n" : nullptr;
        break;
    case KX_RAID50:
        refusal = n < 6 || n % 2 ? "RAID50 needs least 6 or more even number of PDs.\n" : nullptr;
        break;
    default:
        return -1;
    }
    if (refusal)
        message = refusal;
    return refusal ? 0 : 1;
}

bool createVd(unsigned raid, int n, int &parity, int maxParity, std::string &message)
{
    if (raid == KX_RAID6) {
        if (n < 3) {
            message = "RAID6 needs least 3 PDs.\n";
            return false;
        }
        if (parity < 0)
            parity = 2;
        if (parity < 2 || parity > maxParity || parity >= n) {
            message = format("Number of parity disks should be at least 2 and less than %d.\n", maxParity);
            return false;
        }
    } else if (raid == KX_RAID60) {
        if (n < 6 || n % 2) {
            message = "RAID60 needs least 6 or more even number of PDs.\n";
            return false;
        }
        if (parity < 0)
            parity = 4;
        if (parity % 2 || parity < 4 || parity > 2 * maxParity) {
            message = format("RAID60 need even number of parity disks between 4 and %d.\n", 2 * maxParity);
            return false;
        }
        if (parity >= n) {
            message = format("# of parity disks (%d) should be less than # of total disks (%d).\n", parity, n);
            return false;
        }
    }
    return true;
}

bool createArray(unsigned raid, int n, int &parity, int maxParity, std::string &message)
{
    if (raid == KX_RAID6) {
        if (n < 4) {
            message = "RAID6 needs least 4 or more number of PDs.\n";
            return false;
        }
        if (parity < 0)
            parity = 2;
        if (parity < 2 || parity > maxParity) {
            message = format("Number of parity disks for RAID6 should be between 2 & %d\n", maxParity);
            return false;
        }
        if (parity > n / 2) {
            message = "Number of parity disks for RAID6 can not exceed half of total disks\n";
            return false;
        }
    } else if (raid == KX_RAID60) {
        if (n < 8 || n % 2) {
            message = "RAID60 needs least 8 or more even number of PDs.\n";
            return false;
        }
        if (parity < 0)
            parity = 4;
        if (parity % 2 || parity < 4 || parity > 2 * maxParity) {
            message = format("Number of parity disks for RAID60 should be even and between 4 & %d\n", 2 * maxParity);
            return false;
        }
        if (parity > n / 2) {
            message = "Number of parity disks for RAID60 can not exceed half of total disks\n";
            return false;
        }
    }
    return true;
}

bool migrate(bool array, unsigned raid, int n, int &parity, std::string &message)
{
    if (raid == KX_RAID6) {
        if (n < (array ? 4 : 3)) {
            message = array ? "RAID6 needs least 4 PDs.\n" : "RAID6 needs least 3 PDs.\n";
            return false;
        }
        if (parity < 0)
            parity = 2;
        if (parity < 2 || parity >= n) {
            message = array ? format("Number of parity disks should be at between 2 and %d.\n", n - 1)
                            : format("Number of parity disks should be at least 2 and less than %d.\n", n);
            return false;
        }
        return true;
    }
    if (raid == KX_RAID60) {
        if (n < (array ? 8 : 6) || n % 2) {
            message = array ? "RAID60 needs least 8 or more even number of PDs.\n"
                            : "RAID60 needs least 6 or more even number of PDs.\n";
            return false;
        }
        if (parity < 0)
            parity = 4;
        if (parity < 4 || parity % 2) {
            message = "RAID60 need at least 4 even number of parity disks.\n";
            return false;
        }
        if (parity >= n) {
            message = format("# of parity disks (%d) should be less than # of total disks (%d).\n", parity, n);
            return false;
        }
        return true;
    }
    parity = 0;
    return true;
}

} // namespace

bool checkDiskCount(LayoutRules rules, unsigned raid, int n, int &parity, int maxParity, std::string &message)
{
    message.clear();
    const bool migration = rules == LayoutRules::MigrateVd || rules == LayoutRules::MigrateArray;
    int common = commonCount(!migration, raid, n, message);
    if (common >= 0) {
        if (migration && common == 1)
            parity = 0;
        return common == 1;
    }
    switch (rules) {
    case LayoutRules::CreateVd: return createVd(raid, n, parity, maxParity, message);
    case LayoutRules::CreateArray: return createArray(raid, n, parity, maxParity, message);
    case LayoutRules::MigrateVd: return migrate(false, raid, n, parity, message);
    case LayoutRules::MigrateArray: return migrate(true, raid, n, parity, message);
    }
    return true;
}

int redundancyRank(unsigned raid)
{
    switch (raid) {
    case KX_RAID10:
    case KX_RAID1E: return 1;
    case KX_RAID50: return 5;
    case KX_RAID60: return 6;
    default: return static_cast<int>(raid);
    }
}

KX_U16 defaultStripeMask(KX_U32 advancedFeatures)
{
    return (advancedFeatures & KX_ADV_STRIPE_1024) ? 127 : 15;
}

bool stripeAllowed(KX_U16 mask, unsigned long stripe)
{
    if (stripe == 0 || stripe % 16 != 0 || stripe / 16 > 0xFFF)
        return false;
    return ((stripe / 16) & ~static_cast<unsigned long>(mask)) == 0;
}

} // namespace client
