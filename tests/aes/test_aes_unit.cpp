// The encryption, log-on and string operators in process, over the
// simulated controller (also run under the sanitizers): the records are
// cleared for every request, keys are cut at their field, disk IDs are
// 16-bit, refused log-on fields, every read bounded by its field, and the
// list operators with and without the adapter's summary record.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "Util/KXTrace.h"
#include "kx_scramble_state.h"
#include "rpc_fixture.h"

namespace {

const char kFixture[] = R"({"adapters": [{
  "Adapter_Info": {"MaxDiskGroup": 0, "MaxAESPort": 4, "MaxAESEntry": 8, "MaxHD_Ext": 512},
  "pds": [{"id": 0}, {"id": 44, "state": "offline"}, {"id": 300, "state": "offline"}],
  "aes": {"entries": [{"id": 1, "key": "entry-one-key", "password": "short"}],
          "ports": [{"id": 2, "entry": 1}]}}]})";

std::string request(const std::string &name, const std::string &params)
{
    return "<" + name + "><AdapterID>0</AdapterID>" + params + "</" + name + ">";
}

std::string param(const std::string &name, const std::string &value)
{
    return "<" + name + ">" + value + "</" + name + ">";
}

class AesOperators : public RpcFixture {
protected:
    void SetUp() override
    {
        RpcFixture::SetUp();
        load(kFixture);
    }
    std::string retval(const std::string &name, const std::string &params)
    {
        return memberOf(issue(request(name, params)), "RetVal");
    }
    // "Online" and "Percentage" of one disk's settings.
    std::string diskConfig(unsigned id)
    {
        std::string r = issue(request("KX_PD_GetConfig", param("requestType", "2") + param("startingIndexOrId", std::to_string(id)) +
                                                             param("numRequested", "1")));
        return memberOf(r, "Online") + "/" + memberOf(r, "Percentage");
    }
};

// What a trace stream received while the object lived.
class CapturedTrace {
public:
    CapturedTrace() : m_file(std::tmpfile()) { kxTraceSetStream(m_file); }
    ~CapturedTrace()
    {
        kxTraceSetStream(stdout);
        std::fclose(m_file);
    }
    std::string text()
    {
        std::fflush(m_file);
        std::rewind(m_file);
        std::string out;
        char buf[512];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, m_file)) > 0)
            out.append(buf, n);
        return out;
    }

private:
    FILE *m_file;
};

} // namespace

TEST_F(AesOperators, LinkRecordIsClearedForEveryRequest)
{
    // A longer wrong password first: its tail must not stay behind the
    // shorter right one.
    EXPECT_EQ("248", retval("KX_AES_SetLink", param("port_id", "1") + param("entry", "1") +
                                                  param("user_auth", "a-much-longer-password")));
    EXPECT_EQ("0", retval("KX_AES_SetLink", param("port_id", "1") + param("entry", "1") + param("user_auth", "short")));
    // Nothing of the request before: without "entry" the link names entry
    // 0, which holds no key.
    EXPECT_EQ("250", retval("KX_AES_SetLink", param("port_id", "1") + param("user_auth", "short")));
    std::string ports = issue(request("KX_AES_GetPortConfig", param("requestType", "2") + param("startingIndexOrId", "1") +
                                                                  param("numRequested", "1")));
    EXPECT_EQ("1", memberOf(ports, "entry"));
}

TEST_F(AesOperators, KeysAreCutAtTheirFieldAndKeyLengthPassesUnchanged)
{
    const std::string key40 = "0123456789abcdef0123456789abcdefEXTRA-40";
    EXPECT_EQ("0", retval("KX_AES_SetEntryConfig", param("entry_id", "3") + param("key_length", "32") +
                                                        param("key_content", key40) + param("user_auth", "pw3")));
    const std::string verify = param("entry_id", "3") + param("key_length", "32") + param("user_auth", "pw3");
    EXPECT_EQ("0", retval("KX_AES_VerifyKey", verify + param("key_content", key40.substr(0, 32))));
    EXPECT_EQ("247", retval("KX_AES_VerifyKey", verify + param("key_content", key40.substr(0, 31))));
    EXPECT_EQ("248", retval("KX_AES_VerifyKey", param("entry_id", "3") + param("key_length", "32") +
                                                    param("key_content", key40) + param("user_auth", "pw")));
    // A key length the controller cannot take reaches it as given.
    EXPECT_EQ("245", retval("KX_AES_VerifyKey", param("entry_id", "3") + param("key_length", "33") +
                                                    param("key_content", key40) + param("user_auth", "pw3")));
    EXPECT_EQ("0", retval("KX_AES_ChangePwd", param("entry_id", "3") + param("old_user_auth", "pw3") +
                                                  param("new_user_auth", "pw3-new")));
    EXPECT_EQ("248", retval("KX_AES_ChangePwd", param("entry_id", "3") + param("old_user_auth", "pw3") +
                                                    param("new_user_auth", "x")));
    EXPECT_EQ("6", memberOf(issue("<KX_AES_ChangePwd><entry_id>3</entry_id></KX_AES_ChangePwd>"), "RetVal"));
}

TEST_F(AesOperators, ForceOnlineTakesSixteenBitDiskIdsAndTenths)
{
    EXPECT_EQ("0/0", diskConfig(44));
    EXPECT_EQ("0", retval("KX_AES_ForcePDOnline", param("PDID", "300") + param("Percentage", "95")));
    // PD 300, not PD 44 (300 in a byte); 95 reached the controller as 9.
    EXPECT_EQ("1/90", diskConfig(300));
    EXPECT_EQ("0/0", diskConfig(44));
    // The disk and percentage stay for a request that leaves them out.
    EXPECT_EQ("246", retval("KX_AES_ForcePDOnline", ""));
    EXPECT_EQ("5", retval("KX_AES_ForcePDOnline", param("PDID", "44") + param("Percentage", "5")));
    EXPECT_EQ("0", retval("KX_AES_ForcePDOnline", param("PDID", "44") + param("Percentage", "100")));
    EXPECT_EQ("1/100", diskConfig(44));
}

TEST_F(AesOperators, ListsFromTheSummaryOrThePagedCalls)
{
    const std::string all = param("requestType", "1") + param("startingIndexOrId", "0") + param("numRequested", "20");
    std::string entries = issue(request("KX_AES_GetEntryConfig", all));
    EXPECT_EQ(10, countOf(entries, "AES_Entry_Config"));
    EXPECT_EQ("10", memberOf(entries, "numReturned"));
    std::string ports = issue(request("KX_AES_GetPortConfig", all));
    EXPECT_EQ(4, countOf(ports, "AES_Port_Config"));
    EXPECT_NE(std::string::npos, ports.find("<entry><![CDATA[1]]></entry><port_id><![CDATA[2]]></port_id>"));

    std::string faulted = kFixture;
    faulted.replace(faulted.find("\"pds\""), 0, "\"faults\": {\"KX_AES_GetEntryInfo\": 19}, ");
    load(faulted);
    entries = issue(request("KX_AES_GetEntryConfig", all));
    EXPECT_EQ(8, countOf(entries, "AES_Entry_Config"));
    EXPECT_EQ("8", memberOf(entries, "numReturned"));
    ports = issue(request("KX_AES_GetPortConfig", all));
    EXPECT_EQ(4, countOf(ports, "AES_Port_Config"));
    EXPECT_NE(std::string::npos, ports.find("<entry><![CDATA[1]]></entry><port_id><![CDATA[2]]></port_id>"));
    EXPECT_NE(std::string::npos, ports.find("<entry><![CDATA[255]]></entry><port_id><![CDATA[3]]></port_id>"));
}

TEST_F(AesOperators, LogOnRefusesFieldsThatDoNotFit)
{
    CapturedTrace trace;
    const std::string fits(128, 'p'), tooLong(129, 'p');
    const std::string user = "<lpszUsername>kxaes-no-such-user</lpszUsername>";
    EXPECT_EQ("1", memberOf(issue("<KX_LogonUser>" + user + "<lpszPassword>" + tooLong +
                                  "</lpszPassword></KX_LogonUser>"), "RetVal"));
    EXPECT_EQ("1", memberOf(issue("<KX_LogonUser><lpszUsername>" + std::string(129, 'u') +
                                  "</lpszUsername><lpszPassword>x</lpszPassword></KX_LogonUser>"), "RetVal"));
    // A password as long as its field (no terminating zero) is looked up.
    EXPECT_EQ("1", memberOf(issue("<KX_LogonUser>" + user + "<lpszPassword>" + fits +
                                  "</lpszPassword></KX_LogonUser>"), "RetVal"));
    EXPECT_EQ(" +++ KX_LogonUser: IN\n"
              "--- KX_LogonUser: OUT user name or password longer than 128 characters\n"
              " +++ KX_LogonUser: IN\n"
              "--- KX_LogonUser: OUT user name or password longer than 128 characters\n"
              " +++ KX_LogonUser: IN\n"
              "--- KX_LogonUser: OUT getsnpam (kxaes-no-such-user) failed\n",
              trace.text());
    std::string group = issue("<KX_GetUserGroup><lpszUsername>" + std::string(128, 'r') + "oot</lpszUsername></KX_GetUserGroup>");
    EXPECT_EQ("1", memberOf(group, "RetVal"));
    EXPECT_EQ("ValidUser", memberOf(group, "UserGroup"));
}

TEST_F(AesOperators, ScrambleReadsStayInsideTheirFields)
{
    // 64 bytes none of which unscrambles to zero: the text is the whole
    // field and nothing after it.
    std::string all;
    for (int i = 0; i < 64; ++i)
        all += i ? " ff" : "ff";
    std::string decoded = memberOf(issue("<KX_StringDecode><sztarget>" + all + " 41 42</sztarget></KX_StringDecode>"),
                                   "szsource");
    EXPECT_EQ(std::string(64, '?'), decoded);
    // Two zero bytes in a row end the string.
    EXPECT_EQ("He", memberOf(issue("<KX_StringDecode><sztarget>66 25 0 0 59</sztarget></KX_StringDecode>"), "szsource"));
    // A 70-character text is cut to 64 bytes.
    std::string encoded = memberOf(issue("<KX_StringEncode><szsource>" + std::string(70, 'z') +
                                         "</szsource></KX_StringEncode>"), "sztarget");
    EXPECT_EQ(63, std::count(encoded.begin(), encoded.end(), ' '));
}

TEST(ScrambleState, CompiledTableIsTheSharedFile)
{
    std::ifstream in(ARRAYRPC_SCRAMBLE_FILE);
    std::vector<int> values;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        for (int v; words >> v;)
            values.push_back(v);
    }
    ASSERT_EQ(65u, values.size());
    bool seen[65] = {};
    for (unsigned i = 0; i < 65; ++i) {
        EXPECT_EQ(values[i], kScrambleInitialState[i]) << "value " << i;
        ASSERT_LT(values[i], 65);
        EXPECT_FALSE(seen[values[i]]) << values[i] << " twice";
        seen[values[i]] = true;
    }
}
