#ifndef KX_REQUESTS_H
#define KX_REQUESTS_H

#include "APIClass/APIRequest.h"
#include "kx_api.h"

// One request class per record type: which controller call fills it and
// which type sizes its buffer.
#define KX_LIST_REQUEST(Name, Record, SizeType, Wrapper, Call)                         \
    class Name : public APIRequest<Record> {                                           \
    public:                                                                            \
        Name(const RequestHeader &h, KX_U8 adapter) : APIRequest<Record>(h, adapter, SizeType) {} \
        Name(const RequestHeader &h, KX_U8 adapter, unsigned bytes)                    \
            : APIRequest<Record>(h, adapter, bytes) {}                                 \
                                                                                       \
    protected:                                                                         \
        KX_U8 callAPI() override { return Call(m_adapterID, requestAs<Wrapper>()); }   \
    }

KX_LIST_REQUEST(VDInfoRequest, LD_Info, VDType, LD_Info_Request, KX_LD_GetInfo);
KX_LIST_REQUEST(VDStatusRequest, LD_Status, VDStatusType, LD_Status_Request, KX_LD_GetStatus);
KX_LIST_REQUEST(VDConfigRequest, LD_Config, VDStatusType, LD_Config_Request, KX_LD_GetConfig);
KX_LIST_REQUEST(DGInfoRequest, DG_Info, DGType, DG_Info_Request, KX_DG_GetInfo);
KX_LIST_REQUEST(DGConfigRequest, DG_Config, DGConfigType, DG_Config_Request, KX_DG_GetConfig);
KX_LIST_REQUEST(PDConfigRequest, HD_Config, HDConfigType, HD_Config_Request, KX_PD_GetConfig);
KX_LIST_REQUEST(PDRaidStatusRequest, HD_RAID_Status, HDRaidStatusType, HD_RAID_Status_Request,
                KX_PD_GetHDRaidStatus);
KX_LIST_REQUEST(PDSmartStatusRequest, HD_SMART_Status, HDSmartStatusType, HD_SMART_Status_Request,
                KX_PD_GetSmartStatus);
KX_LIST_REQUEST(PDBGAStatusRequest, HD_BGA_Status, HDBGAStatusType, HD_BGA_Status_Request,
                KX_PD_GetBGAStatus);
KX_LIST_REQUEST(FreeSpareInfoRequest, HD_FreeSpaceInfo, FreeSpareType, HD_FreeSpaceInfo_Request,
                KX_PD_GetFreeSpaceInfo);
KX_LIST_REQUEST(PMInfoRequest, PM_Info, PMType, PM_Info_Request, KX_PD_GetPMInfo);
KX_LIST_REQUEST(ExpInfoRequest, Exp_Info, ExpType, Exp_Info_Request, KX_PD_GetExpanderInfo);
KX_LIST_REQUEST(BLKInfoRequest, Block_Info, BlkType, Block_Info_Request, KX_BLK_GetInfo);
KX_LIST_REQUEST(HDBlockRequest, HD_Block_Info, HDBlkType, HD_Block_Info_Request, KX_BLK_GetHDBlock);
KX_LIST_REQUEST(ENCInfoRequest, Enclosure_Info, EncType, Enclosure_Info_Request,
                KX_ENC_GetEnclosureInfo);

KX_LIST_REQUEST(AESPortInfoRequest, AES_PORT_INFO, AESPortInfoType, AES_PORT_INFO_Request,
                KX_AES_OnlyGetPortInfo);
KX_LIST_REQUEST(AESKeyEntryInfoRequest, AES_KEY_ENTRY_INFO, AESEntryInfoType,
                AES_KEY_ENTRY_INFO_Request, KX_AES_OnlyGetEntryInfo);
KX_LIST_REQUEST(AESPortConfigRequest, AES_Port_Config, AESPortConfigType, AES_Port_Config_Request,
                KX_AES_GetPortConfig);

// PD list: the extended call first, the plain one when the controller does
// not know it; every record is tidied before anyone reads it.
class HDInfoRequest : public APIRequest<HD_Info> {
public:
    HDInfoRequest(const RequestHeader &h, KX_U8 adapter) : APIRequest<HD_Info>(h, adapter, HDType) {}
    HDInfoRequest(const RequestHeader &h, KX_U8 adapter, unsigned bytes)
        : APIRequest<HD_Info>(h, adapter, bytes)
    {
    }

    // Derives ConnectionType and DeviceType from HDType when the controller
    // left them 0, cuts trailing blanks from Model, SerialNo and FWVersion
    // and squeezes the blanks out of Model.
    static void normalize(HD_Info &info);

protected:
    KX_U8 callAPI() override;
};

#endif
