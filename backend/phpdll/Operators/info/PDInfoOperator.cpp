// "KX_PD_GetHDInfo": the PDs of an adapter, a paged list.
#include "APIClass/Requests.h"
#include "DataType/SingleType/ValueText.h"
#include "Operators/OperatorTable.h"
#include "Operators/info/RecordValues.h"
#include "Operators/request/RequestOperator.h"

class PDInfoOperator : public LinkedListOperator {
    KX_OPERATOR_DECLARE_NAME
    static const std::string m_structName;

    PDInfoOperator() : LinkedListOperator(m_OperatorName) {}
    const std::string &structName() const override { return m_structName; }

    void run() override
    {
        runLinkedList<HDInfoRequest>([](const HD_Info &r, ValuesMap &out) {
            out["ActivityLEDStatus"] = kxDecimal(r.ActivityLEDStatus);
            out["AdapterID"] = kxDecimal(r.AdapterID);
            out["BlockSize"] = kxDecimal(r.BlockSize);
            // A disk the controller classed as a device of its own kind
            // (tape, enclosure processor, ...) cannot carry a VD.
            out["CanLogicalUsed"] = r.DeviceType != 0 ? "0" : "1";
            out["ConnectionType"] = kxDecimal(r.ConnectionType);
            out["CurrentMDMAMode"] = kxDecimal(r.CurrentMDMAMode);
            out["CurrentPIOMode"] = kxDecimal(r.CurrentPIOMode);
            out["CurrentUDMAMode"] = kxDecimal(r.CurrentUDMAMode);
            out["DeviceType"] = kxDecimal(r.DeviceType);
            out["ElementIdx"] = kxDecimal(r.ElementIdx);
            out["ErrorLEDStatus"] = kxDecimal(r.ErrorLEDStatus);
            out["FeatureSupport"] = kxDecimal(r.FeatureSupport);
            out["FWVersion"] = kxText(r.FWVersion, 8);
            out["HD_SSD_Type"] = kxDecimal(r.HD_SSD_Type);
            out["HDType"] = kxDecimal(r.HDType);
            out["InitStatus"] = kxDecimal(r.InitStatus);
            out["LocateLEDStatus"] = kxDecimal(r.LocateLEDStatus);
            out["MDMAMode"] = kxDecimal(r.MDMAMode);
            out["Model"] = kxText(r.Model, 40);
            out["PIOMode"] = kxDecimal(static_cast<KX_U16>(r.PIOMode));
            out["SerialNo"] = kxText(r.SerialNo, 20);
            out["SesDeviceType"] = kxDecimal(r.SesDeviceType);
            out["Size"] = kxDecimal(r.Size);
            out["UDMAMode"] = kxDecimal(r.UDMAMode);
            out["WWN"] = kxNumberList(r.WWN, 8);
        });
    }
};

KX_OPERATOR_NAME(PDInfoOperator, "KX_PD_GetHDInfo")
const std::string PDInfoOperator::m_structName = "HD_Info";
KX_REGISTER_OPERATOR(PDInfoOperator)
