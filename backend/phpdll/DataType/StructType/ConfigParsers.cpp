#include "DataType/StructType/ConfigParsers.h"

#include <vector>

#include "Operators/adapter/AdapterCapabilities.h"

void LDConfigParser::parse(ValuesMap &params)
{
    readCurrent<VDConfigRequest>(params, "LDID");
    LD_Config &s = m_struct;
    KX_READ_FIELD(params, "CacheMode", m_u8, s.CacheMode);
    KX_READ_FIELD(params, "TandemWaterMark", m_u8, s.TandemWaterMark);
    KX_READ_FIELD(params, "AutoRebuildOn", m_u8, s.AutoRebuildOn);
    KX_READ_FIELD(params, "Status", m_u8, s.Status);
    kxReadName(params, m_name, s, offsetof(LD_Config, Name));
}

void DGConfigParser::parse(ValuesMap &params)
{
    readCurrent<DGConfigRequest>(params, "DGID");
    DG_Config &s = m_struct;
    KX_READ_FIELD(params, "WriteCacheOn", m_u8, s.WriteCacheOn);
    kxReadName(params, m_name, s, offsetof(DG_Config, Name));
}

void PDConfigParser::parse(ValuesMap &params)
{
    clear();
    readCurrent<PDConfigRequest>(params, "HDID");
    HD_Config &s = m_struct;
    KX_READ_FIELD(params, "WriteCacheOn", m_u8, s.WriteCacheOn);
    KX_READ_FIELD(params, "SMARTOn", m_u8, s.SMARTOn);
    KX_READ_FIELD(params, "Online", m_u8, s.Online);
    KX_READ_FIELD(params, "DriveSpeed", m_u8, s.DriveSpeed);
}

void AdapterConfigParser::parse(ValuesMap &params)
{
    std::vector<Adapter_Config_V2> current;
    KX_U8 count = 0;
    m_readStatus = kxReadAdapterRecords(KX_Adapter_GetConfig, m_adapterID, count, current);
    if (m_readStatus == KX_SUCCESS && current.empty())
        m_readStatus = kxRecordNotReturned;
    if (m_readStatus == KX_SUCCESS)
        m_struct = current[0];
    Adapter_Config_V2 &s = m_struct;
    KX_READ_FIELD(params, "AlarmOn", m_u8, s.AlarmOn);
    KX_READ_FIELD(params, "AutoRebuildOn", m_u8, s.AutoRebuildOn);
    KX_READ_FIELD(params, "BGARate", m_u8, s.BGARate);
    KX_READ_FIELD(params, "PollSMARTStatus", m_u8, s.PollSMARTStatus);
    KX_READ_FIELD(params, "MediaPatrolRate", m_u8, s.MediaPatrolRate);
    KX_READ_FIELD(params, "CopyBack", m_u8, s.CopyBack);
    KX_READ_FIELD(params, "SyncRate", m_u8, s.SyncRate);
    KX_READ_FIELD(params, "InitRate", m_u8, s.InitRate);
    KX_READ_FIELD(params, "RebuildRate", m_u8, s.RebuildRate);
    KX_READ_FIELD(params, "MigrationRate", m_u8, s.MigrationRate);
    KX_READ_FIELD(params, "CopybackRate", m_u8, s.CopybackRate);
    KX_READ_FIELD(params, "InterruptCoalescing", m_u8, s.InterruptCoalescing);
    KX_READ_FIELD(params, "ModuleConsolidate", m_u8, s.ModuleConsolidate);
}
