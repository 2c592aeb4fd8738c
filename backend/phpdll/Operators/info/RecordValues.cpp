#include "Operators/info/RecordValues.h"

#include <cstring>

#include "DataType/SingleType/ValueText.h"

std::string kxNumberList64(const unsigned char *bytes, unsigned count)
{
    std::string out;
    for (unsigned i = 0; i < count; ++i) {
        KX_U64 v;
        std::memcpy(&v, bytes + i * sizeof v, sizeof v);
        if (i)
            out += ' ';
        out += kxDecimal(v);
    }
    return out;
}

std::string kxNumberList16(const unsigned char *bytes, unsigned count)
{
    return kxNumberList(reinterpret_cast<const KX_U16 *>(bytes), count);
}

ValuesMap kxLDInfoValues(const LD_Info &r)
{
    ValuesMap out;
    out["AdapterID"] = kxDecimal(r.AdapterID);
    out["BGAStatus"] = kxDecimal(r.BGAStatus);
    out["BlkCount"] = kxDecimal(r.BlkCount);
    out["BlockIDs"] = kxNumberList16(KX_MEMBER_BYTES(r, LD_Info, BlockIDs), 128);
    out["BlockSize"] = kxDecimal(r.BlockSize);
    out["CacheMode"] = kxDecimal(r.CacheMode);
    out["DGID"] = kxDecimal(r.DGID);
    out["HDCount"] = kxDecimal(r.HDCount);
    out["ID"] = kxDecimal(r.ID);
    out["Name"] = kxText(r.Name, 16);
    out["NumParityDisk"] = kxDecimal(r.NumParityDisk);
    out["RaidMode"] = kxDecimal(r.RaidMode);
    out["SectorCoefficient"] = kxDecimal(r.SectorCoefficient);
    out["Size"] = kxDecimal(r.Size);
    out["Status"] = kxDecimal(r.Status);
    out["StripeBlockSize"] = kxDecimal(r.StripeBlockSize);
    out["SubLDCount"] = kxDecimal(r.SubLDCount);
    return out;
}

ValuesMap kxLinkEndpointValues(const Link_Endpoint &e)
{
    ValuesMap out;
    out["DevID"] = kxDecimal(e.DevID);
    out["DevType"] = kxDecimal(e.DevType);
    out["PhyCnt"] = kxDecimal(e.PhyCnt);
    out["PhyID"] = kxNumberList(e.PhyID, 8);
    out["SAS_Address"] = kxNumberList(e.SAS_Address, 8);
    out["EnclosureID"] = kxDecimal(e.EnclosureID);
    return out;
}

void kxAddLinkedStruct(ValuesMap2XML &xml, const std::string &name, const Link_Entity &link,
                       const ValuesMap &members)
{
    TiXmlElement *record = xml.addStructNameToRoot(name, name);
    TiXmlElement *linkElement = xml.addStructNameToSub(record, "Link_Entity", "Link");
    xml.addStructBody(xml.addStructNameToSub(linkElement, "Link_Endpoint", "Parent"),
                      kxLinkEndpointValues(link.Parent));
    xml.addStructBody(xml.addStructNameToSub(linkElement, "Link_Endpoint", "Self"),
                      kxLinkEndpointValues(link.Self));
    xml.addStructBody(record, members);
}

void LinkedListOperator::addBody()
{
    for (std::size_t i = 0; i < m_bodyResult.size() && i < m_links.size(); ++i)
        kxAddLinkedStruct(m_xml, structName(), m_links[i], m_bodyResult[i]);
    m_links.clear();
}
