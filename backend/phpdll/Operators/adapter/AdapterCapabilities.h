#ifndef KX_ADAPTER_CAPABILITIES_H
#define KX_ADAPTER_CAPABILITIES_H

#include <cstring>
#include <vector>

#include "kx_api.h"

#include "kx_records.h"

// What an adapter offers, derived from the capability bits of its record.
// Spares need Features bit 0, unless AdvancedFeatures bit 24 takes them
// away; media patrol needs spares and Features bit 4; any of Features bits
// 0 to 5 means the adapter runs background activities (and so can be
// given schedules).
bool kxSpareSupport(const Adapter_Info &info);
bool kxMediaPatrolSupport(const Adapter_Info &info);
bool kxBGASupport(const Adapter_Info &info);

// Fills the fields that older firmware leaves 0 with what the GUI must
// assume instead: Tandem limits of 1 on adapters whose logical-drive mode
// has Tandem volumes (0x200 or 0x400), the stripe sizes every adapter
// knows (127 with AdvancedFeatures bit 1, else 15), and MaxHD for MaxHD_Ext.
void kxNormalizeAdapterInfo(Adapter_Info &info);

// The records of adapters 0 .. count-1, one controller call each; an
// adapter whose record cannot be read is left out.
std::vector<Adapter_Info> kxReadAllAdapterInfo();

// The records a per-adapter call (KX_Adapter_GetInfo, KX_Adapter_GetConfig)
// returns for adapter (255: every adapter), with its status. The buffer
// has room for every adapter, and for one even when the controller
// reports none, since a call for a single adapter writes one record
// whatever the count says; a count beyond the room is not believed.
template <typename T>
KX_U8 kxReadAdapterRecords(KX_U8 (*call)(KX_U8, KX_U8 *, T *), KX_U8 adapter, KX_U8 &count, std::vector<T> &out)
{
    unsigned room = KX_Adapter_GetCount();
    if (room == 0)
        room = 1;
    std::vector<T> records(room);
    std::memset(records.data(), 0, room * sizeof(T));
    count = 0;
    KX_U8 status = call(adapter, &count, records.data());
    out.clear();
    for (unsigned i = 0; i < count && i < room; ++i)
        out.push_back(records[i]);
    return status;
}

#endif
