// Fuzzing the request path: XMLAnalyzer on arbitrary text, then dispatch.
// The first byte picks one registered operator; the rest is also sent as
// the body of a request to that operator, so every operator's analyze /
// run / buildXML sees arbitrary parameters. The controller is the
// simulated library with its state in a private temporary directory.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <ftw.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "APIClass/APIClass.h"
#include "Operators/KXAPIOperator.h"
#include "Operators/OperatorTable.h"
#include "Parser/KXRequestHandle.h"
#include "Parser/XMLAnalyzer.h"
#include "Util/KXTrace.h"
#include "kx_api.h"

namespace {
KXRequestHandle *gHandle = nullptr;
std::vector<std::string> gNames;
char gStateDir[] = "/tmp/fuzz-phpdll-XXXXXX";

int removeEntry(const char *path, const struct stat *, int, struct FTW *)
{
    return ::remove(path);
}

// The controller state of a run goes with the run.
void removeStateDir()
{
    nftw(gStateDir, removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    if (mkdtemp(gStateDir)) {
        setenv("ARRAYCORE_SIM_STATE", (std::string(gStateDir) + "/state.json").c_str(), 1);
        setenv("ARRAY_DB_DIR", gStateDir, 1);
        atexit(removeStateDir);
    }
    kxTraceSetStream(nullptr);
    KX_API_Initialize();
    gHandle = new KXRequestHandle();
    std::size_t count = 0;
    const OperatorFactory *factories = kxOperatorFactories(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::unique_ptr<KXAPIOperator> op(factories[i]());
        gNames.push_back(op->getName());
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    {
        XMLAnalyzer analyzer(text.c_str());
        analyzer.getMap();
    }
    gHandle->issue(text.c_str());
    if (!gNames.empty() && size > 0) {
        const std::string &name = gNames[data[0] % gNames.size()];
        const std::string wrapped = "<" + name + ">" + text.substr(1) + "</" + name + ">";
        gHandle->issue(wrapped.c_str());
    }
    return 0;
}
