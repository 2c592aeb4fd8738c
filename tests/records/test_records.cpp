// The static assertions in kx_records.h pin sizes and offsets at compile
// time; these tests check that the field tables used to fill records by
// name agree with the compiled layout, and exercise the bit and 64-bit
// helpers that code relies on.
#include <gtest/gtest.h>
#include <cstring>
#include <set>
#include <string>
#include "kx_record_fields.h"

TEST(Records, FieldTablesMatchCompiledLayout)
{
    EXPECT_EQ(kxFindRecord("RequestHeader")->size, sizeof(RequestHeader));
    EXPECT_EQ(kxFindRecord("Adapter_Info")->size, sizeof(Adapter_Info));
    EXPECT_EQ(kxFindRecord("HD_Info")->size, sizeof(HD_Info));
    EXPECT_EQ(kxFindRecord("LD_Info")->size, sizeof(LD_Info));
    EXPECT_EQ(kxFindRecord("DG_Info")->size, sizeof(DG_Info));
    EXPECT_EQ(kxFindRecord("Event")->size, sizeof(Event));
    EXPECT_EQ(kxFindRecord("ServiceEvent")->size, sizeof(ServiceEvent));
    EXPECT_EQ(kxFindRecord("Enclosure_Info")->size, sizeof(Enclosure_Info));
    EXPECT_EQ(kxFindRecord("nonexistent"), nullptr);
    for (const KXRecordDesc *r : kAllRecords) {
        std::set<std::string> names;
        unsigned end = 0;
        for (unsigned i = 0; i < r->nfields; ++i) {
            const KXFieldDesc &f = r->fields[i];
            EXPECT_TRUE(names.insert(f.name).second) << r->name << "." << f.name;
            if (f.kind == KXF_BITS) {
                EXPECT_LE(f.bitPos + f.bitWidth, 8u) << r->name << "." << f.name;
                end = f.offset + 1;
            } else {
                EXPECT_GE(f.offset, end) << r->name << "." << f.name << " overlaps";
                end = f.offset + f.elemSize * f.count * f.count2;
            }
            if (f.kind == KXF_RECORD) {
                ASSERT_NE(f.nested, nullptr);
                EXPECT_EQ(f.nested->size, f.elemSize);
            }
        }
        EXPECT_EQ(end, r->size) << r->name << " fields do not cover the record";
    }
}

TEST(Records, KeyOffsets)
{
    EXPECT_EQ(offsetof(Adapter_Info, MaxDiskGroup), 87u);
    EXPECT_EQ(offsetof(Adapter_Info, MaxBufferSize), 106u);
    EXPECT_EQ(offsetof(Adapter_Info, PortSasAddress), 144u);
    EXPECT_EQ(offsetof(HD_Info, Size), 144u);
    EXPECT_EQ(offsetof(HD_Info, Link) + offsetof(Link_Entity, Self) + offsetof(Link_Endpoint, DevID), 36u);
    EXPECT_EQ(offsetof(LD_Info, BlockIDs), 48u);
    EXPECT_EQ(offsetof(ServiceEvent, deleted), 65u);
    EXPECT_EQ(offsetof(LD_Info_Request, ldInfo), 16u);
    EXPECT_EQ(offsetof(HD_Info_Request, hdInfo) + 2 * sizeof(HD_Info), 16u + 496u);
}

TEST(Records, BitFieldsCountFromLeastSignificantBit)
{
    EncDevice_Element e;
    std::memset(&e, 0, sizeof e);
    e.Ident = 1;
    e.AppClientBypassedA = 1;
    e.FaultSensed = 1;
    const unsigned char *b = reinterpret_cast<const unsigned char *>(&e);
    EXPECT_EQ(b[1], 0x82);
    EXPECT_EQ(b[2], 0x40);

    EncPower_Element p;
    std::memset(&p, 0, sizeof p);
    p.reservedbit = 7;
    p.DCOverVoltage = 1;
    EXPECT_EQ(reinterpret_cast<const unsigned char *>(&p)[0], 0xE1);

    EncElementType_Info t;
    std::memset(&t, 0, sizeof t);
    t.element.cooling.curSpeed = 0x1234;
    EXPECT_EQ(reinterpret_cast<const unsigned char *>(&t)[8], 0x34);
}

TEST(Records, U64IsLowWordFirst)
{
    KX_U64 v = kxU64Make(0x0000000500000007ull);
    EXPECT_EQ(v.parts.low, 7u);
    EXPECT_EQ(v.parts.high, 5u);
    EXPECT_EQ(v.d[0], 7u);
    EXPECT_EQ(v.b[4], 5u);
    EXPECT_EQ(kxU64Value(v), 0x0000000500000007ull);
}
