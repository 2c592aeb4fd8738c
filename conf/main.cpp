// arrayconf: the RAID layout as a document. save writes what the
// controller has, plan tells what would make it match a document, apply
// does it.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "atomic_file.h"
#include "apply.h"
#include "audit.h"
#include "question.h"
#include "document.h"
#include "live.h"
#include "plan.h"
#include "replace.h"
#include "status_text.h"

namespace {

using ojson = nlohmann::ordered_json;

/* Exit statuses: as configuration tools have them, so that a script can
   tell "already so" from "changes pending" from "something is wrong". */
enum { EXIT_SAME = 0, EXIT_ERROR = 1, EXIT_CHANGES = 2 };

const char kUsage[] =
    "usage: arrayconf save [--adapter N] [--portable] [-o FILE]\n"
    "       arrayconf plan FILE [--json]\n"
    "       arrayconf apply FILE [--yes] [--allow-destroy] [--json]\n"
    "       arrayconf replace [--adapter N] [--vd ID | --array ID] [--locate PD | --locate-off [PD]\n"
    "                         | --onto PD [--as-spare] [--yes] [--wait] | --wait] [--interval SECONDS]\n"
    "\n"
    "  save             write the configuration of every adapter (or adapter N) as\n"
    "                   one JSON document, to FILE (replaced atomically) or standard\n"
    "                   output; --portable leaves out serial numbers, for documents\n"
    "                   that other servers with disks at the same IDs take\n"
    "  plan FILE        the steps that would make the controller match FILE ('-':\n"
    "                   standard input), one a line in the order they would run;\n"
    "                   steps that destroy data are marked '!'\n"
    "  apply FILE       run those steps, after one question (y or n) unless --yes;\n"
    "                   a plan that destroys data needs --allow-destroy\n"
    "  --json           the steps and their results as one JSON document\n"
    "  replace          the failed disks, what lost them and the free disks that can\n"
    "                   take their place; --locate / --locate-off light or clear a\n"
    "                   disk's locate LED; --onto PD rebuilds onto PD (after one\n"
    "                   question unless --yes), or with --as-spare makes it a spare of\n"
    "                   the array; --wait follows the rebuild to its end and then\n"
    "                   switches the LEDs off\n"
    "\n"
    "Exit status: 0 nothing to do (apply: the controller now matches), 2 changes\n"
    "planned (apply: declined at the question), 1 an error: a refused document, a\n"
    "failed step, a usage error. replace: 0 nothing failed (with an action: done,\n"
    "the rebuild started or, with --wait, complete), 2 a disk to replace (declined\n"
    "at the question), 1 an error: a disk that does not fit, a refusal, no answer.\n";

int usage(const std::string &problem)
{
    std::fprintf(stderr, "arrayconf: %s\n%s", problem.c_str(), kUsage);
    return EXIT_ERROR;
}

bool readWhole(const std::string &path, std::string &out)
{
    int fd = path == "-" ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (fd != STDIN_FILENO)
                ::close(fd);
            return n == 0;
        }
        out.append(buf, static_cast<size_t>(n));
        if (out.size() > (64u << 20)) {
            errno = EFBIG;
            if (fd != STDIN_FILENO)
                ::close(fd);
            return false;
        }
    }
}

bool initLibrary(bool json)
{
    const KX_U8 st = KX_API_Initialize();
    if (st == 0)
        return true;
    if (json)
        std::printf("%s\n", ojson({{"schema_version", conf::kSchemaVersion},
                                   {"error", std::string("the controller library cannot be initialized (error ") +
                                                 std::to_string(st) + ": " + ErrorMessage(st) + ")"}})
                                .dump(2)
                                .c_str());
    else
        std::fprintf(stderr, "arrayconf: the controller library cannot be initialized (error %d: %s)\n", st,
                     ErrorMessage(st));
    return false;
}

int doSave(int argc, char **argv)
{
    int adapter = -1;
    bool portable = false;
    std::string output;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--adapter" && i + 1 < argc) {
            char *end = nullptr;
            errno = 0;
            long v = std::strtol(argv[++i], &end, 10);
            if (!*argv[i] || *end || errno || v < 0 || v > 254)
                return usage(std::string("invalid adapter number ") + argv[i]);
            adapter = static_cast<int>(v);
        } else if ((arg == "-o" || arg == "--output") && i + 1 < argc && *argv[i + 1]) {
            output = argv[++i];
        } else if (arg == "--portable") {
            portable = true;
        } else {
            return usage("unknown or incomplete argument " + arg);
        }
    }
    if (!initLibrary(false))
        return EXIT_ERROR;
    conf::Document doc;
    const int count = KX_Adapter_GetCount();
    if (adapter >= count) {
        std::fprintf(stderr, "arrayconf: adapter %d is not found (%d found)\n", adapter, count);
        KX_API_Finalize();
        return EXIT_ERROR;
    }
    for (int n = 0; n < count; ++n) {
        if (adapter >= 0 && n != adapter)
            continue;
        conf::LiveAdapter live;
        conf::ReadFailure failure;
        if (!conf::readAdapter(static_cast<KX_U8>(n), live, failure)) {
            std::fprintf(stderr, "arrayconf: adapter %d: %s failed (error %d: %s)\n", n, failure.operation.c_str(),
                         failure.status, ErrorMessage(failure.status));
            KX_API_Finalize();
            return EXIT_ERROR;
        }
        doc.adapters.push_back(conf::describe(live, portable));
    }
    KX_API_Finalize();
    const std::string text = conf::renderDocument(doc);
    if (!output.empty())
        return writeFileAtomically(output, text, "arrayconf") ? EXIT_SAME : EXIT_ERROR;
    if (!writeAll(STDOUT_FILENO, text)) {
        std::fprintf(stderr, "arrayconf: cannot write the output: %s\n", std::strerror(errno));
        return EXIT_ERROR;
    }
    return EXIT_SAME;
}

struct PlanOptions {
    std::string file;
    bool json = false, yes = false, allowDestroy = false;
};

std::string stepLine(const conf::Step &s, size_t number)
{
    std::string line = std::string(s.destructive ? "! " : "  ") + std::to_string(number) + ". " + s.text;
    if (s.destructive)
        line += " -- destroys " + s.destroys;
    return line + "\n";
}

void printPlan(const conf::Plan &plan)
{
    for (size_t i = 0; i < plan.steps.size(); ++i)
        std::fputs(stepLine(plan.steps[i], i + 1).c_str(), stdout);
    size_t destroying = 0;
    for (const conf::Step &s : plan.steps)
        destroying += s.destructive ? 1 : 0;
    if (destroying)
        std::printf("%zu step%s, %zu of them destroying data (marked !).\n", plan.steps.size(),
                    plan.steps.size() == 1 ? "" : "s", destroying);
    else
        std::printf("%zu step%s.\n", plan.steps.size(), plan.steps.size() == 1 ? "" : "s");
}

ojson stepsJson(const conf::Plan &plan, const std::vector<conf::StepResult> *results)
{
    ojson steps = ojson::array();
    for (size_t i = 0; i < plan.steps.size(); ++i) {
        const conf::Step &s = plan.steps[i];
        ojson j = ojson::object();
        j["number"] = i + 1;
        j["adapter"] = plan.adapters[s.adapter].doc->number;
        j["action"] = conf::stepAction(s.kind);
        j["text"] = s.text;
        j["destructive"] = s.destructive;
        j["destroys"] = s.destructive ? ojson(s.destroys) : ojson(nullptr);
        if (results) {
            const conf::StepResult &r = (*results)[i];
            j["result"] = r.state == conf::StepResult::Done ? "done"
                          : r.state == conf::StepResult::Failed ? "failed" : "not_run";
            j["status"] = r.state == conf::StepResult::Failed ? ojson(r.status) : ojson(nullptr);
            std::string m = r.message;
            while (!m.empty() && (m.front() == '\n'))
                m.erase(0, 1);
            while (!m.empty() && (m.back() == '\n'))
                m.pop_back();
            j["message"] = r.state == conf::StepResult::Failed ? ojson(m) : ojson(nullptr);
        }
        steps.push_back(j);
    }
    return steps;
}

ojson refusalsJson(const conf::Plan &plan)
{
    ojson out = ojson::array();
    for (std::string r : plan.refusals) {
        while (!r.empty() && r.front() == '\n')
            r.erase(0, 1);
        while (!r.empty() && r.back() == '\n')
            r.pop_back();
        out.push_back(r);
    }
    return out;
}

void printJson(const ojson &j)
{
    const std::string text = j.dump(2) + "\n";
    writeAll(STDOUT_FILENO, text);
}

int parsePlanOptions(int argc, char **argv, bool apply, PlanOptions &o)
{
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--json")
            o.json = true;
        else if (apply && arg == "--yes")
            o.yes = true;
        else if (apply && arg == "--allow-destroy")
            o.allowDestroy = true;
        else if ((arg == "-" || arg[0] != '-') && o.file.empty())
            o.file = arg;
        else
            return usage("unknown argument " + arg);
    }
    if (o.file.empty())
        return usage("name the document");
    return -1;
}

/* The document, or a message and false. */
bool loadDocument(const PlanOptions &o, conf::Document &doc)
{
    std::string text, error;
    if (!readWhole(o.file, text))
        error = std::string("cannot read it: ") + std::strerror(errno);
    else if (!conf::parseDocument(text, doc, error))
        ;
    else
        return true;
    const std::string name = o.file == "-" ? "standard input" : o.file;
    if (o.json)
        printJson(ojson({{"schema_version", conf::kSchemaVersion}, {"error", name + ": " + error}}));
    else
        std::fprintf(stderr, "arrayconf: %s: %s\n", name.c_str(), error.c_str());
    return false;
}

/* The options, the document and the plan of plan and apply: -1 when the
   plan is made (the library left initialized; the plan points into doc),
   else the exit status. */
int preparePlan(int argc, char **argv, bool apply, PlanOptions &o, conf::Document &doc, conf::Plan &plan)
{
    const int rc = parsePlanOptions(argc, argv, apply, o);
    if (rc >= 0)
        return rc;
    if (!loadDocument(o, doc) || !initLibrary(o.json))
        return EXIT_ERROR;
    plan = conf::makePlan(doc);
    return -1;
}

int doPlan(int argc, char **argv)
{
    PlanOptions o;
    conf::Document doc;
    conf::Plan plan;
    const int rc = preparePlan(argc, argv, false, o, doc, plan);
    if (rc >= 0)
        return rc;
    KX_API_Finalize();
    const int status = !plan.refusals.empty() ? EXIT_ERROR : plan.steps.empty() ? EXIT_SAME : EXIT_CHANGES;
    if (o.json) {
        ojson j = ojson::object();
        j["schema_version"] = conf::kSchemaVersion;
        j["command"] = "plan";
        j["changes"] = status == EXIT_CHANGES;
        j["destructive"] = plan.destructive();
        j["steps"] = stepsJson(plan, nullptr);
        j["refusals"] = refusalsJson(plan);
        j["error"] = plan.refusals.empty() ? ojson(nullptr) : ojson("the document is refused");
        printJson(j);
        return status;
    }
    if (!plan.refusals.empty()) {
        for (const std::string &r : plan.refusals)
            std::fputs(r.c_str(), stdout);
        std::puts("The document is refused; nothing would be changed.");
        return status;
    }
    if (plan.steps.empty()) {
        std::puts("Nothing to do: the controller matches the document.");
        return status;
    }
    printPlan(plan);
    return status;
}

int doApply(int argc, char **argv)
{
    PlanOptions o;
    conf::Document doc;
    conf::Plan plan;
    const int rc = preparePlan(argc, argv, true, o, doc, plan);
    if (rc >= 0)
        return rc;
    std::vector<conf::StepResult> results(plan.steps.size());

    ojson j = ojson::object();
    j["schema_version"] = conf::kSchemaVersion;
    j["command"] = "apply";
    j["error"] = nullptr;
    auto finish = [&](int status, const char *error) {
        KX_API_Finalize();
        if (o.json) {
            bool changed = false;
            for (const conf::StepResult &r : results)
                changed = changed || r.state == conf::StepResult::Done;
            j["changed"] = changed;
            j["destructive"] = plan.destructive();
            j["steps"] = stepsJson(plan, &results);
            j["refusals"] = refusalsJson(plan);
            if (error)
                j["error"] = error;
            j["exit_status"] = status;
            printJson(j);
        }
        return status;
    };

    if (!plan.refusals.empty()) {
        if (!o.json) {
            for (const std::string &r : plan.refusals)
                std::fputs(r.c_str(), stdout);
            std::puts("The document is refused; nothing was changed.");
        }
        return finish(EXIT_ERROR, "the document is refused");
    }
    if (plan.steps.empty()) {
        if (!o.json)
            std::puts("Nothing to do: the controller matches the document.");
        return finish(EXIT_SAME, nullptr);
    }
    if (!o.json)
        printPlan(plan);
    if (plan.destructive() && !o.allowDestroy) {
        if (!o.json)
            std::puts("The plan destroys data (steps marked !); nothing was changed. "
                      "Run again with --allow-destroy to apply it.");
        return finish(EXIT_ERROR, "the plan destroys data and --allow-destroy was not given");
    }
    if (!o.yes) {
        char question[64];
        if (plan.steps.size() == 1)
            std::snprintf(question, sizeof question, "Apply this step? (y or n)\n");
        else
            std::snprintf(question, sizeof question, "Apply these %zu steps? (y or n)\n", plan.steps.size());
        const client::Answer a = client::confirm(o.json ? stderr : stdout, question);
        if (a == client::Answer::End) {
            if (!o.json)
                std::puts("No answer; nothing was changed.");
            return finish(EXIT_ERROR, "no answer to the question");
        }
        if (a == client::Answer::No) {
            if (!o.json)
                std::puts("Nothing was changed.");
            return finish(EXIT_CHANGES, "declined at the question");
        }
    }

    size_t failedAt = plan.steps.size();
    for (size_t i = 0; i < plan.steps.size(); ++i) {
        // Each step is a unit of work of its own: one record per step that
        // changed something, saying which step and how it ended.
        auditBegin(AuditActor{"arrayconf", "", ""}, plan.steps[i].text);
        results[i] = conf::runStep(plan, plan.steps[i]);
        // A change the controller took but that does not show has no status
        // of its own: -1, not a controller status.
        auditEnd(results[i].state == conf::StepResult::Done ? 0 : results[i].status ? results[i].status : -1);
        const bool ok = results[i].state == conf::StepResult::Done;
        if (!o.json) {
            std::printf("%s %zu. %s\n", ok ? "done  " : "FAILED", i + 1, plan.steps[i].text.c_str());
            std::fflush(stdout);
        }
        if (!ok) {
            failedAt = i;
            break;
        }
    }
    if (failedAt == plan.steps.size()) {
        if (!o.json)
            std::printf("Applied %zu step%s.\n", plan.steps.size(), plan.steps.size() == 1 ? "" : "s");
        return finish(EXIT_SAME, nullptr);
    }
    if (!o.json) {
        std::fputs(results[failedAt].message.c_str(), stdout);
        std::string doneList, notDone;
        for (size_t i = 0; i < plan.steps.size(); ++i) {
            std::string &l = i < failedAt ? doneList : notDone;
            l += (l.empty() ? "" : ", ") + std::to_string(i + 1);
        }
        std::printf("Done: %s.\nNot done: %s.\n", doneList.empty() ? "none" : doneList.c_str(), notDone.c_str());
    }
    return finish(EXIT_ERROR, "a step failed");
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        return usage("say save, plan, apply or replace");
    const std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kUsage, stdout);
        return EXIT_SAME;
    }
    if (command == "save")
        return doSave(argc - 2, argv + 2);
    if (command == "plan")
        return doPlan(argc - 2, argv + 2);
    if (command == "apply")
        return doApply(argc - 2, argv + 2);
    if (command == "replace")
        return conf::runReplace(argc - 2, argv + 2);
    return usage("unknown command " + command);
}
