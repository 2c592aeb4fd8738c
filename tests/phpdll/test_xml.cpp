// Request analysis, response printing and the masking of secrets in traces.
#include <gtest/gtest.h>

#include "Parser/ValuesMap2XML.h"
#include "Parser/XMLAnalyzer.h"
#include "Util/KXTrace.h"

namespace {

const ValuesMap kDeleteMap = {{"AdapterID", "0"}, {"LD_ID", "1"}, {"deleteMBR", "1"}};

TEST(XMLAnalyzer, DeleteRequestGivesNameAndFlatMap)
{
    XMLAnalyzer a("<KX_LD_Delete><AdapterID type=\"U8\">0</AdapterID><LD_ID type=\"U16\">1</LD_ID>"
                  "<deleteMBR type=\"U8\">1</deleteMBR></KX_LD_Delete>");
    EXPECT_EQ("KX_LD_Delete", a.getRequestName());
    EXPECT_EQ(kDeleteMap, a.getMap());
}

TEST(XMLAnalyzer, GroupingAndMissingTypesChangeNothing)
{
    XMLAnalyzer grouped("<KX_LD_Delete><Group type=\"struct  X\"><AdapterID>0</AdapterID>"
                        "<Inner><LD_ID>1</LD_ID></Inner></Group><deleteMBR>1</deleteMBR>"
                        "</KX_LD_Delete>");
    EXPECT_EQ(kDeleteMap, grouped.getMap());
    EXPECT_EQ(kDeleteMap, grouped.getMap()); // rebuilt, not appended
}

TEST(XMLAnalyzer, EveryScalarTypeNameIsAccepted)
{
    const char *types[] = {"U8", "U16", "U32", "U64", "KX_U8", "KX_U16",
                           "KX_U32", "KX_U64", "KX_BOOLEAN", "Para", "String"};
    for (const char *type : types) {
        std::string xml = std::string("<R><p type=\"") + type + "\">v</p></R>";
        XMLAnalyzer a(xml.c_str());
        EXPECT_EQ((ValuesMap{{"p", "v"}}), a.getMap()) << type;
    }
    XMLAnalyzer lower("<R><p type=\"u8\">v</p></R>");
    EXPECT_TRUE(lower.getMap().empty());
}

TEST(XMLAnalyzer, FirstOfTwoEqualNamesWins)
{
    XMLAnalyzer a("<R><AdapterID>0</AdapterID><g><AdapterID>3</AdapterID></g></R>");
    EXPECT_EQ((ValuesMap{{"AdapterID", "0"}}), a.getMap());
}

TEST(XMLAnalyzer, EmptyElementIsNoValue)
{
    XMLAnalyzer a("<KX_LD_GetInfo><AdapterID/></KX_LD_GetInfo>");
    EXPECT_EQ("KX_LD_GetInfo", a.getRequestName());
    EXPECT_TRUE(a.getMap().empty());
}

TEST(XMLAnalyzer, ForeignTypeIsIgnoredButItsChildrenAreRead)
{
    XMLAnalyzer a("<R><a type=\"Foo\">x</a><b type=\"Foo\"><c>y</c></b></R>");
    EXPECT_EQ((ValuesMap{{"c", "y"}}), a.getMap());
}

TEST(XMLAnalyzer, CDataEntitiesAndWhiteSpace)
{
    XMLAnalyzer a("<R><n><![CDATA[a&b <c>]]></n><e>x &amp; y</e><w>  two   words </w></R>");
    ValuesMap expected = {{"n", "a&b <c>"}, {"e", "x & y"}, {"w", "two words"}};
    EXPECT_EQ(expected, a.getMap());
}

TEST(XMLAnalyzer, MalformedOrEmptyTextGivesNoName)
{
    const char *bad[] = {"", "not xml", "<R><a>1</R>", "<R", "<!-- only a comment -->", "<?xml version=\"1.0\"?>"};
    for (const char *text : bad) {
        XMLAnalyzer a(text);
        EXPECT_EQ("", a.getRequestName()) << text;
        EXPECT_TRUE(a.getMap().empty()) << text;
    }
    XMLAnalyzer null(nullptr);
    EXPECT_EQ("", null.getRequestName());
}

TEST(XMLAnalyzer, DeepNestingIsRefusedNotRecursedInto)
{
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<a>";
    XMLAnalyzer a(deep.c_str());
    EXPECT_EQ("", a.getRequestName());
    EXPECT_TRUE(a.getMap().empty());

    std::string moderate = "<R>";
    for (int i = 0; i < 50; ++i)
        moderate += "<g>";
    moderate += "<p>1</p>";
    for (int i = 0; i < 50; ++i)
        moderate += "</g>";
    moderate += "</R>";
    XMLAnalyzer ok(moderate.c_str());
    EXPECT_EQ((ValuesMap{{"p", "1"}}), ok.getMap());
}

TEST(XMLAnalyzer, LessThanSignsInCDataDoNotCountAsNesting)
{
    std::string xml = "<R><p><![CDATA[";
    for (int i = 0; i < 1000; ++i)
        xml += "<a>";
    xml += "]]></p></R>";
    XMLAnalyzer a(xml.c_str());
    EXPECT_EQ("R", a.getRequestName());
    EXPECT_EQ(3000u, a.getMap()["p"].size());
}

TEST(ValuesMap2XML, DeleteResponse)
{
    ValuesMap2XML xml("KX_LD_Delete");
    xml.addResult(0);
    EXPECT_EQ("<KX_LD_Delete type=\"function\"><RetVal type=\"U8\">0</RetVal></KX_LD_Delete>\n",
              xml.getString());
}

TEST(ValuesMap2XML, NothingAddedGivesTheBareRoot)
{
    ValuesMap2XML xml("KX_X");
    EXPECT_EQ("<KX_X />\n", xml.getString());
}

TEST(ValuesMap2XML, StructsScalarsAndEmptyStructs)
{
    ValuesMap2XML xml("KX_Adapter_GetInfo");
    xml.addResult(0);
    xml.addValue("Count", "1", "U8");
    TiXmlElement *info = xml.addStructNameToRoot("Adapter_Info", "AdapterInfo");
    TiXmlElement *ver = xml.addStructNameToSub(info, "Version_Info", "DriverVersion");
    xml.addStructBody(ver, {{"VerMinor", "2"}, {"VerMajor", "1"}});
    xml.addStructNameToSub(info, "Version_Info", "BIOSVersion");
    xml.addStructBody(info, {{"lun", "0"}, {"Status", "1"}});
    EXPECT_EQ("<KX_Adapter_GetInfo type=\"function\"><RetVal type=\"U8\">0</RetVal>"
              "<Count type=\"U8\"><![CDATA[1]]></Count>"
              "<AdapterInfo type=\"struct  Adapter_Info\">"
              "<DriverVersion type=\"struct  Version_Info\"><VerMajor><![CDATA[1]]></VerMajor>"
              "<VerMinor><![CDATA[2]]></VerMinor></DriverVersion>"
              "<BIOSVersion type=\"struct  Version_Info\" />"
              "<Status><![CDATA[1]]></Status><lun><![CDATA[0]]></lun></AdapterInfo>"
              "</KX_Adapter_GetInfo>\n",
              xml.getString());
}

TEST(ValuesMap2XML, SecondResponseStartsEmpty)
{
    ValuesMap2XML xml("R");
    xml.addResult(3);
    xml.addRetStruct("S", {{"a", "1"}});
    const std::string first = xml.getString();
    xml.addResult(0);
    EXPECT_EQ("<R type=\"function\"><RetVal type=\"U8\">0</RetVal></R>\n", xml.getString());
    EXPECT_NE(std::string::npos, first.find("<S type=\"struct  S\"><a><![CDATA[1]]></a></S>"));
}

TEST(ValuesMap2XML, PlainTextIsEscapedAndCDataIsVerbatim)
{
    ValuesMap2XML xml("R");
    xml.addValue("n", "a&b<c>\"", "string");
    EXPECT_EQ("<R type=\"function\"><n type=\"string\"><![CDATA[a&b<c>\"]]></n></R>\n",
              xml.getString());
}

TEST(ValuesMap2XML, ValueThatWouldCloseItsCDataStaysData)
{
    ValuesMap2XML xml("R");
    xml.addRetStruct("S", {{"Name", "x]]><RetVal>9"}});
    const std::string text = xml.getString();
    EXPECT_EQ("<R><S type=\"struct  S\"><Name><![CDATA[x]]]]><![CDATA[><RetVal>9]]></Name></S></R>\n",
              text);
    // Reading the response back gives the value unchanged.
    XMLAnalyzer back(text.c_str());
    TiXmlDocument doc;
    doc.Parse(text.c_str());
    const TiXmlElement *name = doc.RootElement()->FirstChildElement("S")->FirstChildElement("Name");
    std::string joined;
    for (const TiXmlNode *n = name->FirstChild(); n; n = n->NextSibling())
        joined += n->Value();
    EXPECT_EQ("x]]><RetVal>9", joined);
    EXPECT_EQ(nullptr, doc.RootElement()->FirstChildElement("RetVal"));
}

TEST(TraceMask, SecretsAreMaskedEverythingElseKept)
{
    EXPECT_EQ("<KX_LogonUser><lpszUsername>root</lpszUsername><lpszPassword>********</lpszPassword>"
              "</KX_LogonUser>",
              kxMaskSecrets("<KX_LogonUser><lpszUsername>root</lpszUsername><lpszPassword>s3cr3t"
                            "</lpszPassword></KX_LogonUser>"));
    EXPECT_EQ("<KX_AES_ChangePwd><entry_id>1</entry_id><old_user_auth type=\"String\">********"
              "</old_user_auth><new_user_auth>********</new_user_auth></KX_AES_ChangePwd>",
              kxMaskSecrets("<KX_AES_ChangePwd><entry_id>1</entry_id><old_user_auth type=\"String\">"
                            "old</old_user_auth><new_user_auth>new</new_user_auth></KX_AES_ChangePwd>"));
    EXPECT_EQ("<R><key_content>********</key_content><user_auth/></R>",
              kxMaskSecrets("<R><key_content><![CDATA[k</key_content>ey]]></key_content><user_auth/></R>"));
    const char *plain = "<KX_LD_Delete><AdapterID>0</AdapterID></KX_LD_Delete>";
    EXPECT_EQ(plain, kxMaskSecrets(plain));
}

TEST(TraceMask, UnclosedSecretsAreMaskedToTheEnd)
{
    EXPECT_EQ("<R><lpszPassword>********", kxMaskSecrets("<R><lpszPassword>abc<x>def"));
    EXPECT_EQ("<R><lpszPassword********", kxMaskSecrets("<R><lpszPassword abc"));
    EXPECT_EQ("", kxMaskSecrets(nullptr));
}

TEST(TraceMask, SecretNames)
{
    EXPECT_TRUE(kxIsSecretName("lpszPassword"));
    EXPECT_TRUE(kxIsSecretName("user_auth"));
    EXPECT_TRUE(kxIsSecretName("key_content"));
    EXPECT_FALSE(kxIsSecretName("key_length"));
    EXPECT_FALSE(kxIsSecretName("lpszUsername"));
    EXPECT_FALSE(kxIsSecretName("KX_AES_ChangePwd"));
}

} // namespace
