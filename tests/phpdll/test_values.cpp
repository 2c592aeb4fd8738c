// Scalar, array and text conversions between request texts, record fields
// and response texts.
#include <gtest/gtest.h>

#include "DataType/SingleType/ArrayParser.h"
#include "DataType/SingleType/SingleTypeParser.h"
#include "DataType/SingleType/ValueText.h"
#include "DataType/StructType/StructParser.h"
#include "Util/kxStringSplitter.h"

namespace {

template <typename P, typename T>
T parsed(P &parser, const std::string &text, T start)
{
    parser.parse(&text);
    T out = start;
    parser.setValue(out);
    return out;
}

TEST(DecimalParser, ReadsLikeAtoiAndTruncatesToTheFieldWidth)
{
    U8Parser u8;
    U16Parser u16;
    U32Parser u32;
    EXPECT_EQ(12, parsed(u8, "12", KX_U8(0)));
    EXPECT_EQ(12, parsed(u16, "12", KX_U16(0)));
    EXPECT_EQ(12u, parsed(u32, "12", KX_U32(0)));
    EXPECT_EQ(255, parsed(u8, "-1", KX_U8(0)));
    EXPECT_EQ(65535, parsed(u16, "-1", KX_U16(0)));
    EXPECT_EQ(44, parsed(u8, "300", KX_U8(0)));
    EXPECT_EQ(0, parsed(u8, "0x1A", KX_U8(9)));
    EXPECT_EQ(0, parsed(u8, "abc", KX_U8(9)));
    EXPECT_EQ(7, parsed(u8, "  7 apples", KX_U8(0)));
    EXPECT_EQ(0, parsed(u16, "", KX_U16(5)));
    // The upper half of a U32 survives where long is 32 bits wide.
    EXPECT_EQ(3000000000u, parsed(u32, "3000000000", KX_U32(0)));
    EXPECT_EQ(0x80000000u, parsed(u32, "-2147483648", KX_U32(0)));
    // Far beyond any width: defined, all ones like atoi's wrap-around.
    EXPECT_EQ(0xFFFFFFFFu, parsed(u32, "99999999999999999999999", KX_U32(0)));
}

TEST(DecimalParser, FormatsUnsignedWithoutLeadingZeros)
{
    U8Parser u8;
    KX_U8 v = 3;
    u8.parse(v);
    EXPECT_EQ("3", u8.toString());
    EXPECT_EQ("255", U8Parser::format(255));
    EXPECT_EQ("65535", U16Parser::format(65535));
    EXPECT_EQ("4294967295", U32Parser::format(4294967295u));
    const std::string text = "0012";
    u8.parse(&text);
    EXPECT_EQ("12", u8.toString()); // the value's text, not the request's
}

TEST(SingleTypeParser, WithoutTextOrDefaultLeavesTheFieldAlone)
{
    U8Parser never;
    KX_U8 field = 42;
    never.setValue(field);
    EXPECT_EQ(42, field);
    never.parse(static_cast<const std::string *>(nullptr));
    never.setValue(field);
    EXPECT_EQ(42, field);
}

TEST(SingleTypeParser, DefaultAppliesWhenTheParameterIsAbsent)
{
    U16Parser stripe(64);
    KX_U16 field = 0;
    stripe.setValue(field);
    EXPECT_EQ(64, field);
    EXPECT_EQ(128, parsed(stripe, "128", KX_U16(0)));
    // A later request without the parameter gets the default again, not the
    // value of the request before.
    stripe.parse(static_cast<const std::string *>(nullptr));
    field = 0;
    stripe.setValue(field);
    EXPECT_EQ(64, field);
}

TEST(SingleTypeParser, AbsentParameterDropsTheValueOfThePreviousRequest)
{
    U8Parser mode;
    EXPECT_EQ(5, parsed(mode, "5", KX_U8(0)));
    mode.parse(static_cast<const std::string *>(nullptr));
    KX_U8 field = 1;
    mode.setValue(field);
    EXPECT_EQ(1, field);
}

TEST(U64Parser, ReadsAndPrintsTheFullWidth)
{
    U64Parser size;
    KX_U64 v = kxU64Make(0);
    const std::string big = "976762584123";
    size.parse(&big);
    size.setValue(v);
    EXPECT_EQ(976762584123ull, kxU64Value(v));
    EXPECT_EQ(976762584123ull & 0xFFFFFFFFull, v.parts.low); // low word first
    EXPECT_EQ("18446744073709551615", U64Parser::format(kxU64Make(~0ull)));
    const std::string junk = "size";
    v = kxU64Make(77);
    size.parse(&junk);
    size.setValue(v);
    EXPECT_EQ(0u, kxU64Value(v));
    U64Parser withDefault(1024);
    KX_U64 d = kxU64Make(0);
    withDefault.setValue(d);
    EXPECT_EQ(1024u, kxU64Value(d));
}

TEST(CharParser, FirstCharacterInPrintableCharacterOut)
{
    CharParser c;
    EXPECT_EQ(97, parsed(c, "abc", KX_U8(0)));
    EXPECT_EQ(0, parsed(c, "", KX_U8(5)));
    EXPECT_EQ("A", CharParser::format('A'));
    EXPECT_EQ("?", CharParser::format(7));
    EXPECT_EQ("?", CharParser::format(200));
    U8Parser decimal;
    EXPECT_EQ(0, parsed(decimal, "abc", KX_U8(3)));
}

TEST(ASCIIParser, HexadecimalBothWays)
{
    ASCIIParser h;
    EXPECT_EQ(26, parsed(h, "0x1A", KX_U8(0)));
    EXPECT_EQ(26, parsed(h, "1a", KX_U8(0)));
    EXPECT_EQ("a", ASCIIParser::format(10));
    EXPECT_EQ("ff", ASCIIParser::format(255));
    EXPECT_EQ("0", ASCIIParser::format(0));
    EXPECT_EQ("10", ASCIIParser::format(16));
}

TEST(kxStringSplitter, SplitsLikeReadingLines)
{
    kxStringSplitter s;
    s.split("a b  c", ' ');
    EXPECT_EQ((std::vector<std::string>{"a", "b", "", "c"}), s.getList());
    s.split("a b ", ' ');
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), s.getList());
    s.split(" a", ' ');
    EXPECT_EQ((std::vector<std::string>{"", "a"}), s.getList());
    s.split("", ' ');
    EXPECT_TRUE(s.getList().empty());
    s.split("0123");
    EXPECT_EQ((std::vector<std::string>{"0", "1", "2", "3"}), s.getList());
    s.split("");
    EXPECT_TRUE(s.getList().empty());
}

TEST(NameParser, FillsTheFieldAndDropsWhatDoesNotFit)
{
    KX_U8 name[16 + 4];
    std::memset(name, 'Z', sizeof name);
    std::memset(name, 0, 16);
    NameParser p(16);
    const std::string text = "ABCDEFGHIJKLMNOPQRST"; // 20 characters
    p.parse(&text);
    p.setValue(name);
    EXPECT_EQ(0, std::memcmp(name, "ABCDEFGHIJKLMNOP", 16)); // no terminating zero
    EXPECT_EQ('Z', name[16]); // the byte after the field is untouched
    const std::string shorter = "vd";
    p.parse(&shorter);
    p.setValue(name);
    EXPECT_EQ(0, std::memcmp(name, "vdCDEFGHIJKLMNOP", 16)); // the rest keeps its bytes
}

TEST(IDListParser, BlankSeparatedIDsIntoConsecutiveElements)
{
    Create_LD_Param param;
    std::memset(&param, 0, sizeof param);
    IDListParser ids(128);
    const std::string text = "3 5 7";
    ids.parse(&text);
    ids.setValue(reinterpret_cast<unsigned char *>(&param) + offsetof(Create_LD_Param, HDIDs));
    EXPECT_EQ(3, param.HDIDs[0]);
    EXPECT_EQ(5, param.HDIDs[1]);
    EXPECT_EQ(7, param.HDIDs[2]);
    for (int i = 3; i < 128; ++i)
        ASSERT_EQ(0, param.HDIDs[i]) << i;
    const std::string gap = "1  2";
    ids.parse(&gap);
    ids.setValue(reinterpret_cast<unsigned char *>(&param) + offsetof(Create_LD_Param, HDIDs));
    EXPECT_EQ(1, param.HDIDs[0]);
    EXPECT_EQ(0, param.HDIDs[1]);
    EXPECT_EQ(2, param.HDIDs[2]);
}

TEST(IDListParser, NeverWritesBeyondTheField)
{
    KX_U16 field[4 + 1] = {0, 0, 0, 0, 0xBEEF};
    IDListParser ids(4);
    std::string many;
    for (int i = 1; i <= 200; ++i)
        many += std::to_string(i) + " ";
    ids.parse(&many);
    ids.setValue(field);
    EXPECT_EQ(4, field[3]);
    EXPECT_EQ(0xBEEF, field[4]);
}

TEST(ArrayParser, FormatsEveryElement)
{
    KX_U16 ids[4] = {0, 1, 65535, 0};
    IDListParser p(4);
    p.parse(static_cast<const void *>(ids));
    EXPECT_EQ("0 1 65535 0", p.toString());
    const KX_U8 sas[8] = {80, 0, 0, 0, 0, 0, 0, 1};
    EXPECT_EQ("80 0 0 0 0 0 0 1", kxNumberList(sas, 8));
}

TEST(ValueText, TextFieldsStopAtZeroOrWidthAndMaskUnprintables)
{
    const KX_U8 full[16] = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H',
                            'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P'};
    EXPECT_EQ("ABCDEFGHIJKLMNOP", kxText(full, 16));
    const KX_U8 vendor[9] = {'K', 'O', 'R', 'V', 'E', 'X', ' ', ' ', 'Z'};
    EXPECT_EQ("KORVEX  ", kxText(vendor, 8));
    const KX_U8 odd[4] = {'a', 1, 'b', 0};
    EXPECT_EQ("a?b", kxText(odd, 4));
    EXPECT_EQ("-5", kxDecimal(KX_I16(-5)));
}

TEST(RequestParser, AbsentPagingParametersKeepThePreviousRequestsValues)
{
    RequestParser p;
    ValuesMap first = {{"requestType", "1"}, {"startingIndexOrId", "4"}, {"numRequested", "2"}};
    p.parse(first);
    EXPECT_EQ(1, p.getStruct().requestType);
    EXPECT_EQ(4, p.getStruct().startingIndexOrId);
    EXPECT_EQ(2, p.getStruct().numRequested);
    ValuesMap second = {{"numRequested", "9"}};
    p.parse(second);
    EXPECT_EQ(1, p.getStruct().requestType);
    EXPECT_EQ(4, p.getStruct().startingIndexOrId);
    EXPECT_EQ(9, p.getStruct().numRequested);
}

class TestConfigParser : public ConfigParser<LD_Config> {
public:
    void parse(ValuesMap &params) override
    {
        if (getAdapterID(params)) {
            m_id.parse(findValue(params, "LDID"));
            getID(m_id);
        }
        KX_READ_ARRAY(params, "Name", m_name, m_struct, Name);
    }
    U16Parser m_id;
    NameParser m_name{16};
};

TEST(ConfigParser, OneRecordByIdAndOnlyAdapterIDCounts)
{
    TestConfigParser p;
    ValuesMap misspelt = {{"Adpter_ID", "1"}, {"LDID", "3"}};
    p.parse(misspelt);
    EXPECT_EQ(0, p.getIDValue());
    ValuesMap params = {{"AdapterID", "1"}, {"LDID", "3"}, {"Name", "data"}};
    p.parse(params);
    EXPECT_EQ(1, p.getAdapterValue());
    EXPECT_EQ(3, p.getIDValue());
    EXPECT_EQ(0, std::memcmp(p.getStruct().Name, "data", 5));
    ValuesMap noId = {{"AdapterID", "1"}};
    p.parse(noId);
    EXPECT_EQ(3, p.getIDValue()); // the previous request's object
    RequestHeader h;
    std::memset(&h, 0xAA, sizeof h);
    p.buildeRequestHeader(h);
    EXPECT_EQ(KX_REQUEST_BY_ID, h.requestType);
    EXPECT_EQ(3, h.startingIndexOrId);
    EXPECT_EQ(1, h.numRequested);
}

} // namespace

#include "Util/kxNow.h"

namespace {
TEST(CompactTime, ZeroPadsEveryPart)
{
    struct tm t = {};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 0;
    t.tm_mday = 5;
    t.tm_hour = 7;
    t.tm_min = 8;
    t.tm_sec = 9;
    EXPECT_EQ("20240105070809", kxCompactTime(t));
    t.tm_year = 1999 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 31;
    t.tm_hour = 23;
    t.tm_min = 59;
    t.tm_sec = 60; // a leap second stays as the clock says
    EXPECT_EQ("19991231235960", kxCompactTime(t));
    EXPECT_EQ(14u, kxCompactNow().size());
}
} // namespace
