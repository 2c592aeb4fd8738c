// Operations this simulator does not model yet. Each answers "Not
// supported" (status 19) unless a fault entry names it; replace them one by
// one with a modelled operation in a file of its own (see README.md).
#include "api.h"

using namespace sim;

namespace {

KX_U8 notSupported(const char *op, int adapter)
{
    Session s(op, adapter);
    if (!s.ok())
        return s.status();
    return s.finish(KX_ST_NOT_SUPPORTED);
}

}  // namespace

SIM_EXPORT KX_U8 KX_PHY_Test(KX_U8 adapter, KX_U8 phy, KX_U8 pattern)
{
    (void)phy;
    (void)pattern;
    SIM_GUARD(return notSupported("KX_PHY_Test", adapter);)
}

SIM_EXPORT KX_U8 KX_PHY_Status(KX_U8 adapter, KX_U8 phy, PHY_Status_Info *status)
{
    (void)phy;
    (void)status;
    SIM_GUARD(return notSupported("KX_PHY_Status", adapter);)
}
