#ifndef KX_LD_CREATE_PARSER_H
#define KX_LD_CREATE_PARSER_H

#include "DataType/SingleType/ArrayParser.h"
#include "DataType/StructType/StructParser.h"
#include "kx_records.h"

// The parameters of a new (or migrating) VD. The record is cleared first,
// so nothing of a previous request survives; the stripe size defaults to
// 64 and the sector coefficient to 1 when the request leaves them out.
class LDCreateParser : public StructParser<Create_LD_Param> {
public:
    LDCreateParser()
        : m_stripe(64), m_sector(1), m_hdIDs(128), m_name(16)
    {
    }

    void parse(ValuesMap &params) override
    {
        clear();
        Create_LD_Param &s = m_struct;
        KX_READ_FIELD(params, "RaidMode", m_u8, s.RaidMode);
        KX_READ_FIELD(params, "HDCount", m_u8, s.HDCount);
        KX_READ_FIELD(params, "RoundingScheme", m_u8, s.RoundingScheme);
        KX_READ_FIELD(params, "SubLDCount", m_u8, s.SubLDCount);
        KX_READ_FIELD(params, "StripeBlockSize", m_stripe, s.StripeBlockSize);
        KX_READ_FIELD(params, "NumParityDisk", m_u8, s.NumParityDisk);
        KX_READ_FIELD(params, "CachePolicy", m_u8, s.CachePolicy);
        KX_READ_FIELD(params, "InitializationOption", m_u8, s.InitializationOption);
        KX_READ_FIELD(params, "SectorCoefficient", m_sector, s.SectorCoefficient);
        KX_READ_FIELD(params, "SpecifiedBlkSeq", m_u8, s.SpecifiedBlkSeq);
        KX_READ_FIELD(params, "TandemWaterMark", m_u8, s.TandemWaterMark);
        KX_READ_FIELD(params, "LDID", m_u16, s.LDID);
        KX_READ_ARRAY(params, "HDIDs", m_hdIDs, s, HDIDs);
        KX_READ_ARRAY(params, "Name", m_name, s, Name);
        KX_READ_FIELD(params, "Size", m_u64, s.Size);
    }

private:
    U8Parser m_u8;
    U16Parser m_u16;
    U64Parser m_u64;
    U16Parser m_stripe;
    U8Parser m_sector;
    IDListParser m_hdIDs;
    NameParser m_name;
};

#endif
