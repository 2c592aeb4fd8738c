// Requests per second of "KX_PD_GetHDInfo" (128 disks), "KX_LD_GetInfo"
// (32 VDs) and "AR_KX_EVT_GetEvents" (25 events of a full store), and
// round trips per second of "KX_LD_Create" + "KX_LD_Delete" (a VD made on
// a free disk and deleted again, both stored by the controller), each
// from one PHP process with the built module, over the simulated
// controller in a temporary directory.
//
//   rpcops_bench [requests per measurement, default 2000]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "qta_api.h"

namespace {

std::string gDir;

void writeFile(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::string controller(unsigned seqFrom, unsigned events)
{
    std::string s = "{\"adapters\": [{\"Adapter_Info\": {\"MaxBufferSize\": 64, \"MaxHD\": 128, \"MaxHD_Ext\": 128,"
                    " \"MaxLogicalDrive\": 64}, \"pds\": [";
    for (int i = 0; i < 128; ++i)
        s += (i ? ", " : "") + std::string("{\"id\": ") + std::to_string(i) + "}";
    s += "], \"vds\": [";
    for (int i = 0; i < 32; ++i)
        s += (i ? ", " : "") + std::string("{\"id\": ") + std::to_string(i) + ", \"LD_Info\": {\"Name\": \"vd" +
             std::to_string(i) + "\", \"Size\": 1048576}}";
    s += "], \"events\": [";
    for (unsigned i = 0; i < events; ++i)
        s += (i ? ", " : "") + std::string("{\"Event\": {\"Class\": 1, \"Code\": 26, \"DeviceID\": 3, \"Severity\": 2,"
             " \"Params\": [40, 0, 0, 0], \"TimeStamp\": 1700000000, \"SequenceNo\": ") + std::to_string(seqFrom + i) + "}}";
    return s + "]}]}";
}

void measure(const char *label, const std::string &request, int count, const char *unit = "requests")
{
    std::string cmd = std::string(ARRAYRPC_PHP) + " -n -d extension=" + ARRAYRPC_MODULE + " " + BENCH_SCRIPT + " '" +
                      request + "' " + std::to_string(count) + " 2>&1 >/dev/null | tail -1";
    FILE *p = popen(cmd.c_str(), "r");
    char line[256] = {0};
    if (!p || !fgets(line, sizeof line, p) || std::strncmp(line, "failed", 6) == 0) {
        std::printf("%-22s failed %s", label, line);
        if (p)
            pclose(p);
        return;
    }
    pclose(p);
    int n = 0, bytes = 0;
    double secs = 0, rate = 0;
    std::sscanf(line, "%d %lf %lf %d", &n, &secs, &rate, &bytes);
    std::printf("%-22s %6d %-8s  %7.3f s  %9.1f %s/s  (response %d bytes)\n", label, n, unit, secs, rate, unit, bytes);
}

} // namespace

int main(int argc, char **argv)
{
    int count = argc > 1 ? std::atoi(argv[1]) : 2000;
    char tmpl[] = "/tmp/rpcops-bench-XXXXXX";
    if (!mkdtemp(tmpl))
        return 1;
    gDir = tmpl;
    setenv("ARRAYCORE_SIM_STATE", (gDir + "/state.json").c_str(), 1);
    setenv("ARRAY_DB_DIR", gDir.c_str(), 1);
    setenv("ARRAYRPC_IPC_DIR", gDir.c_str(), 1);
    setenv("TZ", "UTC", 1);

    // A full store: 50000 captured events, queued and captured in rounds
    // so that the controller's queue stays small.
    const unsigned kRound = 5000, kFull = 50000;
    for (unsigned seq = 1; seq <= kFull; seq += kRound) {
        writeFile(gDir + "/state.json", controller(seq, kRound));
        QTA_APIEventToFile();
    }
    Event_ChangeCounters c;
    QTA_GetEventChangeStatus(&c);
    std::printf("store holds %u events (change counter), state in %s\n", c.Whatever_Change, gDir.c_str());
    writeFile(gDir + "/state.json", controller(kFull + 1, 0));

    measure("KX_PD_GetHDInfo x128", "<KX_PD_GetHDInfo><AdapterID>0</AdapterID><requestType>1</requestType>"
            "<startingIndexOrId>0</startingIndexOrId><numRequested>128</numRequested></KX_PD_GetHDInfo>", count);
    measure("KX_LD_GetInfo x32", "<KX_LD_GetInfo><AdapterID>0</AdapterID><requestType>1</requestType>"
            "<startingIndexOrId>0</startingIndexOrId><numRequested>32</numRequested></KX_LD_GetInfo>", count);
    // VD 40 on disk 0 (the listed VDs have no blocks), without an
    // initialisation, so that the delete has no activity to stop.
    measure("KX_LD_Create+Delete", "<KX_LD_Create><AdapterID>0</AdapterID><RaidMode>0</RaidMode><HDCount>1</HDCount>"
            "<HDIDs>0</HDIDs><LDID>40</LDID><Name>bench</Name><Size>1024</Size><InitializationOption>3</InitializationOption>"
            "</KX_LD_Create>\n<KX_LD_Delete><AdapterID>0</AdapterID><LD_ID>40</LD_ID><deleteMBR>0</deleteMBR></KX_LD_Delete>",
            count / 4, "trips");
    measure("AR_KX_EVT_GetEvents 25", "<AR_KX_EVT_GetEvents><s>49975</s><n>25</n></AR_KX_EVT_GetEvents>", count);
    std::string rm = "rm -rf " + gDir;
    return std::system(rm.c_str()) == 0 ? 0 : 1;
}
