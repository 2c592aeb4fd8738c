// The dispatcher and its operators end to end in one process, against the
// in-memory controller: request text in, response text out.
#include <gtest/gtest.h>

#include <cstdio>

#include "APIClass/APIClass.h"
#include <memory>

#include "Operators/KXAPIOperator.h"
#include "APIClass/Requests.h"
#include "DataType/SingleType/ValueText.h"
#include "Operators/OperatorTable.h"
#include "Operators/request/RequestOperator.h"
#include "Parser/KXRequestHandle.h"
#include "Parser/RequestEntry.h"
#include "Util/KXTrace.h"
#include "fake_controller.h"

namespace {

const char kDeleteRequest[] =
    "<KX_LD_Delete><AdapterID type=\"U8\">0</AdapterID><LD_ID type=\"U16\">1</LD_ID>"
    "<deleteMBR type=\"U8\">1</deleteMBR></KX_LD_Delete>";
const char kDeleteResponse[] =
    "<KX_LD_Delete type=\"function\"><RetVal type=\"U8\">0</RetVal></KX_LD_Delete>\n";
const char kStatusRequest[] =
    "<KX_LD_GetStatus><AdapterID>0</AdapterID><requestType>1</requestType>"
    "<startingIndexOrId>0</startingIndexOrId><numRequested>2</numRequested></KX_LD_GetStatus>";
const char kStatusResponse[] =
    "<KX_LD_GetStatus type=\"function\"><RetVal type=\"U8\">0</RetVal><RequestHeader type=\"struct  "
    "RequestHeader\"><AdapterID><![CDATA[0]]></AdapterID><nextStartingIndex><![CDATA[65535]]></"
    "nextStartingIndex><numRequested><![CDATA[2]]></numRequested><numReturned><![CDATA[1]]></"
    "numReturned><requestType><![CDATA[1]]></requestType><startingIndexOrId><![CDATA[0]]></"
    "startingIndexOrId></RequestHeader><Status type=\"struct  Status\"><Bga><![CDATA[0]]></"
    "Bga><BgaExt><![CDATA[0]]></BgaExt><BgaPercentage><![CDATA[0]]></BgaPercentage><BgaState><!"
    "[CDATA[0]]></BgaState><LDID><![CDATA[0]]></LDID><Status><![CDATA[0]]></Status></Status></"
    "KX_LD_GetStatus>\n";

class Dispatch : public ::testing::Test {
protected:
    void SetUp() override
    {
        gFake.reset();
        APIClass::reset();
        m_trace = std::tmpfile();
        kxTraceSetStream(m_trace);
    }
    void TearDown() override
    {
        kxTraceSetStream(stdout);
        std::fclose(m_trace);
    }
    std::string issue(const std::string &xml, int expected = 0)
    {
        EXPECT_EQ(expected, m_handle.issue(xml.c_str())) << xml;
        return m_handle.getResult();
    }
    std::string trace()
    {
        std::fflush(m_trace);
        std::rewind(m_trace);
        std::string out;
        char buf[512];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, m_trace)) > 0)
            out.append(buf, n);
        return out;
    }
    KXRequestHandle m_handle;
    FILE *m_trace = nullptr;
};

TEST_F(Dispatch, TableHoldsEveryRegisteredOperatorUnderItsName)
{
    EXPECT_EQ(status_ready, m_handle.status());
    std::size_t count = 0;
    const OperatorFactory *factories = kxOperatorFactories(count);
    EXPECT_EQ(count, m_handle.operatorCount()); // no name registered twice
    for (std::size_t i = 0; i < count; ++i) {
        std::unique_ptr<KXAPIOperator> op(factories[i]());
        EXPECT_NE(nullptr, m_handle.find(op->getName())) << op->getName();
    }
    for (const char *name : {"KX_LD_GetStatus", "KX_LD_Delete", "KX_Adapter_GetCount"}) {
        KXAPIOperator *op = m_handle.find(name);
        ASSERT_NE(nullptr, op) << name;
        EXPECT_EQ(name, op->getName());
    }
    EXPECT_EQ(nullptr, m_handle.find("KX_No_Such_Request"));
    EXPECT_EQ(nullptr, m_handle.find(""));
}

TEST_F(Dispatch, DeleteWorkedExample)
{
    gFake.addVD(1);
    EXPECT_EQ(kDeleteResponse, issue(kDeleteRequest));
    std::vector<FakeCall> status = gFake.callsNamed("KX_LD_GetStatus");
    ASSERT_EQ(1u, status.size());
    EXPECT_EQ(KX_REQUEST_BY_ID, status[0].a);
    EXPECT_EQ(1u, status[0].b);
    EXPECT_EQ(1u, status[0].c);
    EXPECT_TRUE(gFake.callsNamed("KX_LD_BGAControl").empty()); // idle: nothing to stop
    std::vector<FakeCall> del = gFake.callsNamed("KX_LD_Delete");
    ASSERT_EQ(1u, del.size());
    EXPECT_EQ(0u, del[0].adapter);
    EXPECT_EQ(1u, del[0].a);
    EXPECT_EQ(1u, del[0].b);
}

TEST_F(Dispatch, DeletingABusyVDStopsItsActivityFirst)
{
    gFake.addVD(1, 0, 1, 1); // initialising
    issue(kDeleteRequest);
    std::vector<std::string> order;
    for (const FakeCall &c : gFake.calls)
        if (c.name != "KX_Adapter_GetInfo") // buffer sizing
            order.push_back(c.name);
    EXPECT_EQ((std::vector<std::string>{"KX_LD_GetStatus", "KX_LD_BGAControl", "KX_LD_Delete"}), order);
    std::vector<FakeCall> stop = gFake.callsNamed("KX_LD_BGAControl");
    ASSERT_EQ(1u, stop.size());
    EXPECT_EQ(1u, stop[0].a);
    EXPECT_EQ(7u, stop[0].b);
}

TEST_F(Dispatch, OfflineOrForeignVDsAreNeverStopped)
{
    for (KX_U8 status : {KX_U8(4), KX_U8(6)}) {
        gFake.reset();
        gFake.addVD(1, status, 2, 1);
        issue(kDeleteRequest);
        EXPECT_TRUE(gFake.callsNamed("KX_LD_BGAControl").empty()) << int(status);
        EXPECT_EQ(1u, gFake.callsNamed("KX_LD_Delete").size());
    }
}

TEST_F(Dispatch, DeleteFailureComesBackAsRetVal)
{
    gFake.addVD(1);
    gFake.deleteStatus = 27;
    EXPECT_EQ("<KX_LD_Delete type=\"function\"><RetVal type=\"U8\">27</RetVal></KX_LD_Delete>\n",
              issue(kDeleteRequest));
}

TEST_F(Dispatch, OperatorKeepsFieldsTheRequestDoesNotName)
{
    gFake.addVD(1);
    gFake.addVD(5);
    issue("<KX_LD_Delete><AdapterID>0</AdapterID><LD_ID>5</LD_ID><deleteMBR>1</deleteMBR></KX_LD_Delete>");
    issue("<KX_LD_Delete><AdapterID>0</AdapterID></KX_LD_Delete>");
    std::vector<FakeCall> del = gFake.callsNamed("KX_LD_Delete");
    ASSERT_EQ(2u, del.size());
    EXPECT_EQ(5u, del[1].a);
    EXPECT_EQ(1u, del[1].b);
}

TEST_F(Dispatch, MissingAdapterReachesNoControllerOperation)
{
    gFake.addVD(1);
    EXPECT_EQ("<KX_LD_Delete type=\"function\"><RetVal type=\"U8\">6</RetVal></KX_LD_Delete>\n",
              issue("<KX_LD_Delete><LD_ID>1</LD_ID></KX_LD_Delete>"));
    EXPECT_EQ("<KX_LD_GetStatus type=\"function\"><RetVal type=\"U8\">6</RetVal>"
              "<RequestHeader type=\"struct  RequestHeader\"><numRequested><![CDATA[2]]></numRequested>"
              "</RequestHeader></KX_LD_GetStatus>\n",
              issue("<KX_LD_GetStatus><numRequested>2</numRequested></KX_LD_GetStatus>"));
    EXPECT_TRUE(gFake.calls.empty());
}

TEST_F(Dispatch, PagedStatusWorkedExample)
{
    gFake.addVD(0);
    EXPECT_EQ(kStatusResponse, issue(kStatusRequest));
}

TEST_F(Dispatch, RepeatedRequestGivesAnIndependentResponse)
{
    gFake.addVD(0);
    gFake.addVD(1);
    const std::string both = issue("<KX_LD_GetStatus><AdapterID>0</AdapterID><requestType>1</requestType>"
                                   "<startingIndexOrId>0</startingIndexOrId><numRequested>2</numRequested>"
                                   "<Extra>x</Extra></KX_LD_GetStatus>");
    EXPECT_NE(std::string::npos, both.find("<Extra><![CDATA[x]]></Extra>"));
    EXPECT_NE(std::string::npos, both.find("<LDID><![CDATA[1]]></LDID>"));
    gFake.vds.pop_back();
    EXPECT_EQ(kStatusResponse, issue(kStatusRequest));
    EXPECT_EQ(kStatusResponse, issue(kStatusRequest));
}

TEST_F(Dispatch, MisspeltAdapterNameIsAcceptedAndTheRightOneWins)
{
    gFake.addVD(0);
    issue("<KX_LD_GetStatus><Adpter_ID>2</Adpter_ID><requestType>1</requestType>"
          "<numRequested>1</numRequested></KX_LD_GetStatus>");
    issue("<KX_LD_GetStatus><Adpter_ID>2</Adpter_ID><AdapterID>3</AdapterID></KX_LD_GetStatus>");
    std::vector<FakeCall> calls = gFake.callsNamed("KX_LD_GetStatus");
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(2u, calls[0].adapter);
    EXPECT_EQ(3u, calls[1].adapter);
}

TEST_F(Dispatch, PagingThroughALongList)
{
    for (KX_U16 i = 0; i < 40; ++i)
        gFake.addVD(i);
    const std::string r = issue("<KX_LD_GetStatus><AdapterID>0</AdapterID><requestType>1</requestType>"
                                "<startingIndexOrId>3</startingIndexOrId><numRequested>35</numRequested>"
                                "</KX_LD_GetStatus>");
    EXPECT_NE(std::string::npos, r.find("<numReturned><![CDATA[35]]></numReturned>"));
    EXPECT_NE(std::string::npos, r.find("<nextStartingIndex><![CDATA[38]]></nextStartingIndex>"));
    EXPECT_EQ(2u, gFake.callsNamed("KX_LD_GetStatus").size()); // 32 + 3
    size_t structs = 0;
    for (size_t at = r.find("<Status type="); at != std::string::npos; at = r.find("<Status type=", at + 1))
        ++structs;
    EXPECT_EQ(35u, structs);
}

TEST_F(Dispatch, FailingListCallReportsItsStatusAndNoRecords)
{
    gFake.addVD(0);
    gFake.failListCall = 1;
    gFake.failStatus = 19;
    const std::string r = issue(kStatusRequest);
    EXPECT_NE(std::string::npos, r.find("<RetVal type=\"U8\">19</RetVal>"));
    EXPECT_NE(std::string::npos, r.find("<numReturned><![CDATA[0]]></numReturned>"));
    EXPECT_EQ(std::string::npos, r.find("<Status type="));
}

TEST_F(Dispatch, AdapterCountIsTheResult)
{
    gFake.adapterCount = 3;
    EXPECT_EQ("<KX_Adapter_GetCount type=\"function\"><RetVal type=\"U8\">3</RetVal></KX_Adapter_GetCount>\n",
              issue("<KX_Adapter_GetCount><AdapterID>0</AdapterID></KX_Adapter_GetCount>"));
    EXPECT_EQ("<KX_Adapter_GetCount type=\"function\"><RetVal type=\"U8\">3</RetVal></KX_Adapter_GetCount>\n",
              issue("<KX_Adapter_GetCount/>"));
}

TEST_F(Dispatch, UnknownOrMalformedRequestsAreUnsupported)
{
    gFake.addVD(0);
    const std::string before = issue(kStatusRequest);
    issue("<KX_LD_GetNothing><AdapterID>0</AdapterID></KX_LD_GetNothing>", status_not_support);
    issue("<KX_LD_GetNothing><AdapterID>0</AdapterID></KX_LD_GetNothing>", status_not_support);
    issue("<KX_LD_Delete><AdapterID>0</KX_LD_Delete>", status_not_support);
    issue("", status_not_support);
    EXPECT_EQ(before, m_handle.getResult()); // the last response stays
    EXPECT_EQ("KXRequestHandle::<KX_LD_GetNothing><AdapterID>0</AdapterID></KX_LD_GetNothing> "
              "UNSUPPORTED!!!!!!!!!!!!!!!\n"
              "KXRequestHandle::<KX_LD_GetNothing><AdapterID>0</AdapterID></KX_LD_GetNothing> "
              "UNSUPPORTED!!!!!!!!!!!!!!!\n"
              "KXRequestHandle::<KX_LD_Delete><AdapterID>0</KX_LD_Delete> UNSUPPORTED!!!!!!!!!!!!!!!\n"
              "KXRequestHandle:: UNSUPPORTED!!!!!!!!!!!!!!!\n",
              trace());
}

TEST_F(Dispatch, UnsupportedTraceMasksSecrets)
{
    issue("<KX_No_Such_Logon><lpszUsername>root</lpszUsername><lpszPassword>hunter2</lpszPassword>"
          "</KX_No_Such_Logon>",
          status_not_support);
    const std::string t = trace();
    EXPECT_EQ(std::string::npos, t.find("hunter2"));
    EXPECT_NE(std::string::npos, t.find("<lpszUsername>root</lpszUsername>"));
}

// A list operator of the test's own, to see both ways a first failing call
// can be echoed.
class StatusList : public RequestOperator {
public:
    explicit StatusList(FirstCallFailure onFailure) : RequestOperator("T"), m_onFailure(onFailure) {}
    const std::string &getName() const override { return m_name; }
    const std::string &structName() const override { return m_name; }
    void run() override
    {
        runList<VDStatusRequest>([](const LD_Status &s, ValuesMap &out) { out["LDID"] = kxDecimal(s.LDID); },
                                 m_onFailure);
    }

private:
    FirstCallFailure m_onFailure;
    std::string m_name = "T";
};

std::string runStatusList(RequestOperator::FirstCallFailure onFailure)
{
    StatusList op(onFailure);
    ValuesMap params = {{"AdapterID", "0"}, {"requestType", "1"}, {"numRequested", "4"}};
    op.analyze(params);
    op.doOp();
    std::string out;
    op.getReturn(out);
    return out;
}

TEST_F(Dispatch, FirstCallFailureEitherReportsOrOmitsThePagingEntries)
{
    gFake.addVD(0);
    gFake.failStatus = 19;
    gFake.failListCall = 1;
    EXPECT_EQ("<T type=\"function\"><RetVal type=\"U8\">19</RetVal><RequestHeader type=\"struct  RequestHeader\">"
              "<AdapterID><![CDATA[0]]></AdapterID><nextStartingIndex><![CDATA[65535]]></nextStartingIndex>"
              "<numRequested><![CDATA[4]]></numRequested><numReturned><![CDATA[0]]></numReturned>"
              "<requestType><![CDATA[1]]></requestType></RequestHeader></T>\n",
              runStatusList(RequestOperator::ReportPaging));
    gFake.listCalls = 0;
    EXPECT_EQ("<T type=\"function\"><RetVal type=\"U8\">19</RetVal><RequestHeader type=\"struct  RequestHeader\">"
              "<AdapterID><![CDATA[0]]></AdapterID><numRequested><![CDATA[4]]></numRequested>"
              "<requestType><![CDATA[1]]></requestType></RequestHeader></T>\n",
              runStatusList(RequestOperator::OmitPaging));
    gFake.listCalls = 0;
    gFake.failListCall = 0;
    EXPECT_NE(std::string::npos, runStatusList(RequestOperator::OmitPaging).find("<numReturned><![CDATA[1]]>"));
}

TEST(IssueXML, EmptyRequestSucceedsWithoutTouchingAnything)
{
    gFake.reset();
    const char *result = "stale";
    unsigned size = 99;
    EXPECT_EQ(0, issueXML("", &result, size));
    EXPECT_STREQ("", result);
    EXPECT_EQ(0u, size);
    EXPECT_EQ(0, gFake.initializeCalls);
    EXPECT_TRUE(gFake.calls.empty());
}

TEST(IssueXML, NotReadyBeforeTheModuleStarted)
{
    const char *result = nullptr;
    unsigned size = 0;
    ASSERT_EQ(nullptr, currentHandle());
    EXPECT_EQ(status_buildOperators, issueXML("<KX_Adapter_GetCount/>", &result, size));
    EXPECT_STREQ("", result);
}

} // namespace
