#ifndef KX_API_CLASS_H
#define KX_API_CLASS_H

#include <vector>

#include "kx_records.h"

// Record types of the paged list calls; each decides the fallback buffer
// size of its requests.
enum APIStructType {
    VDType = 0,
    VDStatusType = 1,
    VDConfigType = 2,
    DGType = 3,
    DGConfigType = 4,
    HDType = 5,
    PMType = 6,
    FreeSpareType = 7,
    HDBGAStatusType = 8,
    HDSmartStatusType = 9,
    HDRaidStatusType = 10,
    HDConfigType = 11,
    ExpType = 12,
    BlkType = 13,
    HDBlkType = 14,
    EncType = 15,
    EventType = 16,
    AESType = 17,
    AESEntryConfigType = 18,
    AESPortConfigType = 19,
    RebuildEntryType = 20,
    AESPortInfoType = 21,
    AESEntryInfoType = 22
};

// Buffer sizing of list calls and the adapter records it needs, read once
// per adapter and process.
class APIClass {
public:
    // Bytes of a list buffer (paging header included): the adapter's
    // MaxBufferSize in KiB when it reports one, else a size by type.
    static unsigned getCount(KX_U8 adapter, APIStructType type);
    static unsigned fixedSize(APIStructType type);
    // The adapter's record (zero when the controller could not be asked).
    static const Adapter_Info &getAdapterInfo(KX_U8 adapter);
    // Forgets every cached record, as after an adapter rescan.
    static void reset();

private:
    static std::vector<Adapter_Info> s_info;
    static std::vector<bool> s_known;
};

#endif
