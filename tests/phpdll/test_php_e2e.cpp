// The built module in the real PHP interpreter: return codes, the result
// variable, traces, and the worked examples against the simulated
// controller, compared byte for byte.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "php_driver.h"

namespace {

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string golden(const std::string &name) { return readFile(std::string(ARRAYRPC_TESTDATA) + "/" + name); }

// A test directory whose controller state starts as the named fixture.
void loadFixture(const TempDir &dir, const std::string &fixture)
{
    dir.write("state.json", golden(fixture));
}

const char kStatusRequest[] =
    "<KX_LD_GetStatus><AdapterID>0</AdapterID><requestType>1</requestType>"
    "<startingIndexOrId>0</startingIndexOrId><numRequested>2</numRequested></KX_LD_GetStatus>";
const char kDeleteRequest[] =
    "<KX_LD_Delete><AdapterID type=\"U8\">0</AdapterID><LD_ID type=\"U16\">1</LD_ID>"
    "<deleteMBR type=\"U8\">1</deleteMBR></KX_LD_Delete>";

std::string phpQuote(const std::string &s)
{
    std::string out = "'";
    for (char c : s) {
        if (c == '\'' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "'";
}

// PHP code that sends one request and prints "rc=<code>" and the result.
std::string sendAndPrint(const std::string &xml)
{
    return "$r = null; $rc = arrayrpc(" + phpQuote(xml) + ", $r); echo 'rc=', $rc, \"\\n\", $r;";
}

TEST(PhpModule, ReturnCodesAndTheResultVariable)
{
    TempDir dir;
    PhpResult r = runPhp(dir,
                         "$r = 'untouched';"
                         "$rc = arrayrpc('<KX_No_Such_Request><a>1</a></KX_No_Such_Request>', $r);"
                         "echo 'unknown: rc=', $rc, ' result='; var_dump($r);"
                         "$rc = arrayrpc('<KX_LD_Delete><a>', $r);"
                         "echo 'malformed: rc=', $rc, ' result='; var_dump($r);"
                         "$rc = arrayrpc('', $r);"
                         "echo 'empty: rc=', $rc, ' result='; var_dump($r);"
                         "$r = 'untouched';"
                         "$rc = arrayrpc(array(), $r);"
                         "echo 'array: rc=', $rc, ' result='; var_dump($r);"
                         "$rc = arrayrpc(); echo 'none: rc=', $rc, \"\\n\";"
                         "$rc = arrayrpc('<KX_Adapter_GetCount/>'); echo 'one: rc=', $rc, \"\\n\";");
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ(golden("return_codes.out"), r.out);
}

TEST(PhpModule, StatusWorkedExample)
{
    TempDir dir;
    loadFixture(dir, "one_idle_vd.json");
    PhpResult r = runPhp(dir, sendAndPrint(kStatusRequest));
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ(golden("status_worked_example.out"), r.out);
}

TEST(PhpModule, DeleteWorkedExampleRemovesTheVD)
{
    TempDir dir;
    loadFixture(dir, "two_vds.json");
    PhpResult r = runPhp(dir, sendAndPrint(kDeleteRequest));
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ(golden("delete_worked_example.out"), r.out);

    // A later process sees the controller without the deleted VD.
    PhpResult after = runPhp(dir, "$r = null; arrayrpc(" + phpQuote(kStatusRequest) +
                                      ", $r); echo \"\\n@\", $r;");
    const std::string response = after.out.substr(after.out.find("\n@") + 2);
    EXPECT_NE(std::string::npos, response.find("<numReturned><![CDATA[1]]></numReturned>")) << response;
    EXPECT_NE(std::string::npos, response.find("<LDID><![CDATA[0]]></LDID>"));
    EXPECT_EQ(std::string::npos, response.find("<LDID><![CDATA[1]]></LDID>"));
}

TEST(PhpModule, RepeatedRequestGivesAnIndependentSecondResponse)
{
    TempDir dir;
    loadFixture(dir, "one_idle_vd.json");
    PhpResult r = runPhp(dir, "$a = null; $b = 'x';"
                              "arrayrpc(" + phpQuote(kStatusRequest) + ", $a);"
                              "arrayrpc(" + phpQuote(kStatusRequest) + ", $b);"
                              "echo \"\\n@\", $a === $b ? 'same' : 'different', ' ', strlen($a), \"\\n\", $b;");
    EXPECT_EQ(0, r.status) << r.err;
    const std::string tail = r.out.substr(r.out.find("\n@") + 2);
    const std::string expected = golden("status_worked_example.out");
    const std::string response = expected.substr(expected.find("rc=1\n") + 5,
                                                 expected.find("PHP module unloaded") - expected.find("rc=1\n") - 5);
    EXPECT_EQ("same " + std::to_string(response.size()) + "\n" + response + "PHP module unloaded\n", tail);
}

TEST(PhpModule, OperatorKeepsParametersTheNextRequestLeavesOut)
{
    TempDir dir;
    loadFixture(dir, "two_vds.json");
    PhpResult r = runPhp(dir, "$a = null; $b = null;"
                              "arrayrpc('<KX_LD_GetStatus><AdapterID>0</AdapterID><requestType>1</requestType>"
                              "<startingIndexOrId>1</startingIndexOrId><numRequested>1</numRequested>"
                              "</KX_LD_GetStatus>', $a);"
                              "arrayrpc('<KX_LD_GetStatus><AdapterID>0</AdapterID></KX_LD_GetStatus>', $b);"
                              "echo \"\\n@\", $b;");
    EXPECT_EQ(0, r.status) << r.err;
    const std::string second = r.out.substr(r.out.find("\n@") + 2);
    // Paging as the first request set it: one record from index 1. Only the
    // parameters this request carried are echoed.
    EXPECT_EQ(0u, second.find("<KX_LD_GetStatus type=\"function\"><RetVal type=\"U8\">0</RetVal>"
                              "<RequestHeader type=\"struct  RequestHeader\"><AdapterID><![CDATA[0]]></AdapterID>"
                              "<nextStartingIndex><![CDATA[65535]]></nextStartingIndex>"
                              "<numReturned><![CDATA[1]]></numReturned></RequestHeader>"
                              "<Status type=\"struct  Status\">")) << second;
    EXPECT_NE(std::string::npos, second.find("<LDID><![CDATA[1]]></LDID>"));
}

TEST(PhpModule, SecretsNeverReachTheTrace)
{
    TempDir dir;
    PhpResult r = runPhp(dir, "$r = null; echo arrayrpc('<KX_No_Such_Logon><lpszUsername>admin</lpszUsername>"
                              "<lpszPassword>hunter2</lpszPassword></KX_No_Such_Logon>', $r);");
    EXPECT_EQ(std::string::npos, r.out.find("hunter2")) << r.out;
    EXPECT_NE(std::string::npos,
              r.out.find("PHP_FUNCTION:<KX_No_Such_Logon><lpszUsername>admin</lpszUsername>"
                         "<lpszPassword>********</lpszPassword></KX_No_Such_Logon>\n"));
    EXPECT_NE(std::string::npos, r.out.find("KXRequestHandle::<KX_No_Such_Logon><lpszUsername>admin"
                                            "</lpszUsername><lpszPassword>********</lpszPassword>"
                                            "</KX_No_Such_Logon> UNSUPPORTED"));
    // The length line still tells the real request's size.
    EXPECT_NE(std::string::npos, r.out.find("PHP_FUNCTION: 107\n"));
}

TEST(PhpModule, ResultIsAssignedThroughAnyReference)
{
    TempDir dir;
    PhpResult r = runPhp(dir, "$arr = array('slot' => 5);"
                              "$rc = arrayrpc('', $arr['slot']);"
                              "var_dump($rc, $arr);"
                              "$obj = new stdClass; $obj->p = 1.5;"
                              "arrayrpc('', $obj->p); var_dump($obj->p);"
                              "arrayrpc('', $undefinedSoFar); var_dump($undefinedSoFar);");
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_NE(std::string::npos, r.out.find("int(1)\narray(1) {\n  [\"slot\"]=>\n  string(0) \"\"\n}\n"))
        << r.out;
    EXPECT_NE(std::string::npos, r.out.find("string(0) \"\"\nPHP_FUNCTION+++")) << r.out;
}

TEST(PhpModule, GetNowIsTheCompactLocalTime)
{
    TempDir dir;
    // Retried across a second boundary between the two clocks.
    for (int attempt = 0; attempt < 3; ++attempt) {
        PhpResult r = runPhp(dir, "$a = date('YmdHis'); $n = getNow(); $b = date('YmdHis');"
                                  "echo \"\\n@\", $n, ' ', ($n === $a || $n === $b) ? 'match' : 'no';",
                             {"-d", "date.timezone=UTC"});
        const std::string tail = r.out.substr(r.out.find("\n@") + 2);
        ASSERT_EQ(14u + 6u, tail.find("PHP module unloaded")) << tail;
        ASSERT_EQ(std::string::npos, tail.substr(0, 14).find_first_not_of("0123456789"));
        if (tail.compare(14, 6, " match") == 0)
            return;
    }
    ADD_FAILURE() << "getNow() never matched date('YmdHis')";
}

TEST(PhpModule, ModuleInformation)
{
    TempDir dir;
    PhpResult r = runPhp(dir, "echo \"\\n@\", phpversion('arrayrpc'), ' ', function_exists('getNow') ? 'y' : 'n', \"\\n\";"
                              "$f = new ReflectionFunction('arrayrpc');"
                              "echo $f->getParameters()[1]->isPassedByReference() ? 'byref' : 'byval', \"\\n\";");
    EXPECT_NE(std::string::npos, r.out.find("\n@5.0 y\nbyref\n")) << r.out;
    PhpResult info = runPhp(dir, "", {"-i"});
    EXPECT_NE(std::string::npos, info.out.find("\narrayrpc support => enabled\n"));
}

} // namespace
