// Round trip of one "KX_LD_GetStatus" request for 32 VDs through issueXML
// (analysis, dispatch, paging, response printing, registry check) against
// the floor: parsing the same request and printing the same response with
// TinyXML alone. Target: at most twice the floor.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <tinyxml.h>
#include <sys/ipc.h>
#include <sys/sem.h>
#include <unistd.h>

#include "APIClass/APIClass.h"
#include "Parser/RequestEntry.h"
#include "Util/KXTrace.h"
#include "fake_controller.h"

namespace {

const char kRequest[] =
    "<KX_LD_GetStatus><AdapterID type=\"U8\">0</AdapterID><requestType type=\"U8\">1</requestType>"
    "<startingIndexOrId type=\"U16\">0</startingIndexOrId><numRequested type=\"U16\">32</numRequested>"
    "</KX_LD_GetStatus>";

void setUpController()
{
    gFake.reset();
    for (KX_U16 i = 0; i < 32; ++i)
        gFake.addVD(i, 0, static_cast<KX_U8>(i % 3), static_cast<KX_U8>(i % 2));
    gFake.maxBufferKiB = 64;
    APIClass::reset();
}

void BM_IssueXML(benchmark::State &state)
{
    setUpController();
    size_t bytes = 0;
    for (auto _ : state) {
        gFake.calls.clear();
        const char *result = nullptr;
        unsigned size = 0;
        if (issueXML(kRequest, &result, size) != 0)
            state.SkipWithError("request failed");
        bytes = size;
        benchmark::DoNotOptimize(result);
    }
    state.counters["response_bytes"] = static_cast<double>(bytes);
}

TiXmlElement *member(const char *name, const std::string &value)
{
    TiXmlElement *e = new TiXmlElement(name);
    TiXmlText *t = new TiXmlText(value.c_str());
    t->SetCDATA(true);
    e->LinkEndChild(t);
    return e;
}

// The same work without the module: read the parameters, build the same
// response document, print it.
void BM_TinyXMLFloor(benchmark::State &state)
{
    setUpController();
    size_t bytes = 0;
    for (auto _ : state) {
        TiXmlDocument request;
        request.Parse(kRequest);
        std::string params[4];
        int n = 0;
        for (TiXmlElement *p = request.RootElement()->FirstChildElement(); p && n < 4;
             p = p->NextSiblingElement())
            params[n++] = p->GetText() ? p->GetText() : "";

        TiXmlElement root("KX_LD_GetStatus");
        root.SetAttribute("type", "function");
        TiXmlElement *ret = new TiXmlElement("RetVal");
        ret->SetAttribute("type", "U8");
        ret->LinkEndChild(new TiXmlText("0"));
        root.LinkEndChild(ret);
        TiXmlElement *header = new TiXmlElement("RequestHeader");
        header->SetAttribute("type", "struct  RequestHeader");
        header->LinkEndChild(member("AdapterID", params[0]));
        header->LinkEndChild(member("nextStartingIndex", "65535"));
        header->LinkEndChild(member("numRequested", params[3]));
        header->LinkEndChild(member("numReturned", "32"));
        header->LinkEndChild(member("requestType", params[1]));
        header->LinkEndChild(member("startingIndexOrId", params[2]));
        root.LinkEndChild(header);
        for (const LD_Status &s : gFake.vds) {
            TiXmlElement *st = new TiXmlElement("Status");
            st->SetAttribute("type", "struct  Status");
            st->LinkEndChild(member("Bga", std::to_string(s.Bga)));
            st->LinkEndChild(member("BgaExt", std::to_string(s.BgaExt)));
            st->LinkEndChild(member("BgaPercentage", std::to_string(s.BgaPercentage)));
            st->LinkEndChild(member("BgaState", std::to_string(s.BgaState)));
            st->LinkEndChild(member("LDID", std::to_string(s.LDID)));
            st->LinkEndChild(member("Status", std::to_string(s.Status)));
            root.LinkEndChild(st);
        }
        TiXmlPrinter printer;
        printer.SetStreamPrinting();
        root.Accept(&printer);
        std::string out = printer.Str();
        out += '\n';
        bytes = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["response_bytes"] = static_cast<double>(bytes);
}

BENCHMARK(BM_TinyXMLFloor);
BENCHMARK(BM_IssueXML);

} // namespace

int main(int argc, char **argv)
{
    // A private registry, so a benchmark run never meets a web server's.
    char dir[] = "/tmp/bench-phpdll-XXXXXX";
    if (!mkdtemp(dir))
        return 1;
    setenv("ARRAYRPC_IPC_DIR", dir, 1);
    kxTraceSetStream(nullptr);
    initHandle();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    closeHandle();
    const std::string lock = std::string(dir) + "/kxbackend.lock";
    key_t key = ftok(lock.c_str(), 97);
    int sem = key == -1 ? -1 : semget(key, 0, 0);
    if (sem >= 0)
        semctl(sem, 0, IPC_RMID);
    unlink(lock.c_str());
    unlink((std::string(dir) + "/kxbackend.pids").c_str());
    rmdir(dir);
    return 0;
}
