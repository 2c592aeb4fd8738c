// "KX_Adapter_GetInfo": the information record of an adapter (or, with
// adapter number 255, of every adapter), with the version sub-structs.
#include <cstdio>
#include <cstring>
#include <vector>

#include "DataType/SingleType/ValueText.h"
#include "Operators/KXAPIOperator.h"
#include "Operators/OperatorTable.h"
#include "Operators/adapter/AdapterCapabilities.h"
#include "kx_api.h"

class AdapterInfoOperator : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME

    AdapterInfoOperator() : KXAPIOperator(m_OperatorName), m_count(0) {}

    bool analyze(ValuesMap &params) override { return getAdapterID(params); }

    void run() override
    {
        m_records.clear();
        m_count = 0;
        if (!m_hasAdapter)
            return;
        m_APIRet = kxReadAdapterRecords(KX_Adapter_GetInfo, m_adapterID, m_count, m_records);
        for (Adapter_Info &r : m_records)
            kxNormalizeAdapterInfo(r);
    }

    static ValuesMap driverVersion(const Version_Info &v)
    {
        ValuesMap out;
        out["VerBuild"] = kxDecimal(v.VerBuild);
        out["VerMajor"] = kxDecimal(v.VerMajor);
        out["VerMinor"] = kxDecimal(v.VerMinor);
        out["VerOEM"] = kxDecimal(v.VerOEM);
        return out;
    }
    // Firmware-side versions carry a revision number where the driver
    // version has its OEM part; the GUI reads both under the same names.
    static ValuesMap cimVersion(const Version_Info_CIM &v)
    {
        ValuesMap out;
        out["VerBuild"] = kxDecimal(v.BuildNumber);
        out["VerMajor"] = kxDecimal(v.MajorVersion);
        out["VerMinor"] = kxDecimal(v.MinorVersion);
        out["VerOEM"] = kxDecimal(v.RevisionNumber);
        return out;
    }

    static ValuesMap members(const Adapter_Info &r)
    {
        ValuesMap out;
        out["SystemIOBusNumber"] = kxDecimal(r.SystemIOBusNumber);
        out["SlotNumber"] = kxDecimal(r.SlotNumber);
        out["InterruptLevel"] = kxDecimal(r.InterruptLevel);
        out["InterruptVector"] = kxDecimal(r.InterruptVector);
        out["AdvancedFeatures"] = kxDecimal(r.AdvancedFeatures);
        out["VenID"] = kxDecimal(r.VenID);
        out["SubVenID"] = kxDecimal(r.SubVenID);
        out["DevID"] = kxDecimal(r.DevID);
        out["SubDevID"] = kxDecimal(r.SubDevID);
        out["StripeSizeSupported"] = kxDecimal(r.StripeSizeSupported);
        out["LogicalDriverMode"] = kxDecimal(r.LogicalDriverMode);
        out["MaxTandemHdd"] = kxDecimal(static_cast<KX_U16>(r.MaxTandemHdd));
        out["MaxSSDPerTandem"] = kxDecimal(static_cast<KX_U16>(r.MaxSSDPerTandem));
        out["MaxAESPort"] = kxDecimal(static_cast<KX_U16>(r.MaxAESPort));
        out["MaxAESEntry"] = kxDecimal(static_cast<KX_U16>(r.MaxAESEntry));
        out["MaxHD_Ext"] = kxDecimal(r.MaxHD_Ext);
        out["MaxBufferSize"] = kxDecimal(r.MaxBufferSize);
        out["MaxTotalBlocks_V2"] = kxDecimal(r.MaxTotalBlocks_V2);
        out["PortCount"] = kxDecimal(r.PortCount);
        out["PortSupportType"] = kxDecimal(r.PortSupportType);
        out["Features"] = kxDecimal(r.Features);
        out["AlarmSupport"] = kxDecimal(r.AlarmSupport);
        out["RevisionID"] = kxDecimal(r.RevisionID);
        out["MaxPDPerVD"] = kxDecimal(r.MaxPDPerVD);
        out["MaxPDPerDG"] = kxDecimal(r.MaxPDPerDG);
        out["MaxVDPerDG"] = kxDecimal(r.MaxVDPerDG);
        out["MaxParityDisks"] = kxDecimal(r.MaxParityDisks);
        out["MaxDiskGroup"] = kxDecimal(r.MaxDiskGroup);
        out["MaxTotalBlocks"] = kxDecimal(r.MaxTotalBlocks);
        out["MaxBlockPerPD"] = kxDecimal(r.MaxBlockPerPD);
        out["MaxExpander"] = kxDecimal(r.MaxExpander);
        out["MaxPM"] = kxDecimal(r.MaxPM);
        out["MaxLogicalDrive"] = kxDecimal(r.MaxLogicalDrive);
        out["MaxSpeed"] = kxDecimal(r.MaxSpeed);
        out["CurrentSpeed"] = kxDecimal(r.CurrentSpeed);
        out["MaxLinkWidth"] = kxDecimal(r.MaxLinkWidth);
        out["CurrentLinkWidth"] = kxDecimal(r.CurrentLinkWidth);
        out["img_health"] = kxDecimal(r.img_health);
        out["autoload_img_health"] = kxDecimal(r.autoload_img_health);
        out["boot_loader_img_health"] = kxDecimal(r.boot_loader_img_health);
        out["firmware_img_health"] = kxDecimal(r.firmware_img_health);
        out["boot_rom_img_health"] = kxDecimal(r.boot_rom_img_health);
        out["hba_info_img_health"] = kxDecimal(r.hba_info_img_health);
        out["DiskGroupSupport"] = r.MaxDiskGroup != 0 ? "1" : "0";
        out["SpareSupport"] = kxSpareSupport(r) ? "1" : "0";
        out["MediaPatrolSupport"] = kxMediaPatrolSupport(r) ? "1" : "0";
        out["BGASupport"] = kxBGASupport(r) ? "1" : "0";
        out["WWN"] = kxNumberList(r.WWN, 8);
        out["SerialNo"] = kxText(r.SerialNo, 20);
        // The record has room for 16 ports; a larger PortCount from the
        // controller must not make us read past it.
        unsigned ports = r.PortCount < 16 ? r.PortCount : 16;
        for (unsigned p = 0; p < ports; ++p) {
            char name[32];
            std::snprintf(name, sizeof name, "PortSasAddress%i", static_cast<int>(p));
            out[name] = kxNumberList(r.PortSasAddress[p], 8);
        }
        return out;
    }

    void buildXML() override
    {
        m_xml.addResult(m_APIRet);
        if (!m_hasAdapter)
            return;
        m_xml.addValue("Count", kxDecimal(m_count), "U8");
        for (const Adapter_Info &r : m_records) {
            TiXmlElement *e = m_xml.addStructNameToRoot("Adapter_Info", "AdapterInfo");
            m_xml.addStructBody(m_xml.addStructNameToSub(e, "Version_Info", "DriverVersion"),
                                driverVersion(r.DriverVersion));
            m_xml.addStructBody(m_xml.addStructNameToSub(e, "Version_Info", "BIOSVersion"),
                                cimVersion(r.BIOSVersion));
            m_xml.addStructBody(m_xml.addStructNameToSub(e, "Version_Info", "FirmwareVersion"),
                                cimVersion(r.FirmwareVersion));
            m_xml.addStructBody(m_xml.addStructNameToSub(e, "Version_Info", "BootLoaderVersion"),
                                cimVersion(r.BootLoaderVersion));
            m_xml.addStructBody(e, members(r));
        }
        m_records.clear();
    }

private:
    std::vector<Adapter_Info> m_records;
    KX_U8 m_count;
};

KX_OPERATOR_NAME(AdapterInfoOperator, "KX_Adapter_GetInfo")
KX_REGISTER_OPERATOR(AdapterInfoOperator)
