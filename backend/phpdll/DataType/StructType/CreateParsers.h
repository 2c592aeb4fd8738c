#ifndef KX_CREATE_PARSERS_H
#define KX_CREATE_PARSERS_H

#include "DataType/SingleType/ArrayParser.h"
#include "DataType/StructType/StructParser.h"
#include "kx_records.h"
#include "kx_records_ext.h"

// The records of the requests that build or rebuild something. Every
// parser but the rebuild one clears its record first, so nothing of a
// previous request survives; stripe sizes default to 64.

// A new array, its size, or its migration.
class DGCreateParser : public StructParser<CreateOrModify_DG_Param> {
public:
    DGCreateParser() : m_stripe(64), m_pdIDs(128), m_name(16) {}
    void parse(ValuesMap &params) override
    {
        clear();
        CreateOrModify_DG_Param &s = m_struct;
        KX_READ_FIELD(params, "DGID", m_u16, s.DGID);
        KX_READ_ARRAY(params, "Name", m_name, s, Name);
        KX_READ_FIELD(params, "RaidMode", m_u8, s.RaidMode);
        KX_READ_FIELD(params, "SubVDCount", m_u8, s.SubVDCount);
        KX_READ_FIELD(params, "NumParityDisk", m_u8, s.NumParityDisk);
        KX_READ_FIELD(params, "StripeBlockSize", m_stripe, s.StripeBlockSize);
        KX_READ_FIELD(params, "Size", m_u64, s.Size);
        KX_READ_FIELD(params, "BlockSize", m_u32, s.BlockSize);
        KX_READ_FIELD(params, "InitializationOption", m_u8, s.InitializationOption);
        KX_READ_FIELD(params, "PDCount", m_u8, s.PDCount);
        KX_READ_ARRAY(params, "PDIDs", m_pdIDs, s, PDIDs);
    }

private:
    U8Parser m_u8;
    U16Parser m_u16;
    U32Parser m_u32;
    U64Parser m_u64;
    U16Parser m_stripe;
    IDListParser m_pdIDs;
    NameParser m_name;
};

// A new VD in a slot of an array.
class DGCreateVDParser : public StructParser<CreateOrModify_VD_Param> {
public:
    DGCreateVDParser() : m_stripe(64), m_name(16) {}
    void parse(ValuesMap &params) override
    {
        clear();
        CreateOrModify_VD_Param &s = m_struct;
        KX_READ_FIELD(params, "VDID", m_u16, s.VDID);
        KX_READ_FIELD(params, "DGID", m_u16, s.DGID);
        KX_READ_ARRAY(params, "Name", m_name, s, Name);
        KX_READ_FIELD(params, "RaidMode", m_u8, s.RaidMode);
        KX_READ_FIELD(params, "SubVDCount", m_u8, s.SubVDCount);
        KX_READ_FIELD(params, "NumParityDisk", m_u8, s.NumParityDisk);
        KX_READ_FIELD(params, "DGSlotNum", m_u8, s.DGSlotNum);
        KX_READ_FIELD(params, "StripeBlockSize", m_stripe, s.StripeBlockSize);
        KX_READ_FIELD(params, "Size", m_u64, s.Size);
        KX_READ_FIELD(params, "RoundingScheme", m_u8, s.RoundingScheme);
        KX_READ_FIELD(params, "CachePolicy", m_u8, s.CachePolicy);
        KX_READ_FIELD(params, "InitializationOption", m_u8, s.InitializationOption);
        KX_READ_FIELD(params, "SectorCoefficient", m_u8, s.SectorCoefficient);
        KX_READ_FIELD(params, "BlockSize", m_u32, s.BlockSize);
    }

private:
    U8Parser m_u8;
    U16Parser m_u16;
    U32Parser m_u32;
    U64Parser m_u64;
    U16Parser m_stripe;
    NameParser m_name;
};

// A rebuild of an array onto given disks. Not cleared: what a request
// leaves out stays as the previous request of the process set it.
class RebuildParser : public StructParser<Rebuild_Param> {
public:
    RebuildParser() : m_pdIDs(128) {}
    void parse(ValuesMap &params) override
    {
        Rebuild_Param &s = m_struct;
        KX_READ_FIELD(params, "ID", m_u16, s.ID);
        KX_READ_FIELD(params, "RebuildType", m_u8, s.RebuildType);
        KX_READ_FIELD(params, "PDCount", m_u8, s.PDCount);
        KX_READ_ARRAY(params, "PDIDs", m_pdIDs, s, PDIDs);
    }

private:
    U8Parser m_u8;
    U16Parser m_u16;
    IDListParser m_pdIDs;
};

// What the GUI asks of a new Tandem volume: SSDs and hard disks apart.
// The module's own record; the controller gets a Create_LD_Param made
// from it.
struct TandemHDDCreate {
    KX_U16 HDCount;
    KX_U16 SSDCount;
    KX_U16 HDIDs[128];
    KX_U16 SSDIDs[128];
    KX_U64 Size;
    KX_U8 RaidMode;
    KX_U8 KeepData;
    KX_U8 TandemWaterMark;
};

class TandemHDDCreateParser : public StructParser<TandemHDDCreate> {
public:
    TandemHDDCreateParser() : m_hdIDs(128), m_ssdIDs(128) {}
    void parse(ValuesMap &params) override
    {
        clear();
        TandemHDDCreate &s = m_struct;
        KX_READ_FIELD(params, "HDCount", m_u16, s.HDCount);
        KX_READ_FIELD(params, "SSDCount", m_u16, s.SSDCount);
        KX_READ_ARRAY(params, "HDIDs", m_hdIDs, s, HDIDs);
        KX_READ_ARRAY(params, "SSDIDs", m_ssdIDs, s, SSDIDs);
        KX_READ_FIELD(params, "Size", m_u64, s.Size);
        KX_READ_FIELD(params, "RaidMode", m_u8, s.RaidMode);
        KX_READ_FIELD(params, "KeepData", m_u8, s.KeepData);
        KX_READ_FIELD(params, "TandemWaterMark", m_u8, s.TandemWaterMark);
    }

private:
    U8Parser m_u8;
    U16Parser m_u16;
    U64Parser m_u64;
    IDListParser m_hdIDs;
    IDListParser m_ssdIDs;
};

// The disk whose room for a Tandem volume is asked for.
class TandemHDDParamParser : public StructParser<Tandem_FreeSize_Info> {
public:
    void parse(ValuesMap &params) override
    {
        clear();
        KX_READ_FIELD(params, "ID", m_u16, m_struct.HDID);
    }

private:
    U16Parser m_u16;
};

#endif
