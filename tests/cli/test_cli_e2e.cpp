// The real arrayctl against simulated controller fixtures: start-up,
// help lists of both table generations, built-ins, the dispatcher's
// messages, the shell through a pipe and on a terminal, "-output".
#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>
#include <string>
#include "cli_runner.h"

namespace {

const char kV1[] = R"({"adapters":[{"Adapter_Info":{"MaxDiskGroup":0}}]})";
const char kV2[] = R"({"adapters":[{"Adapter_Info":{"MaxDiskGroup":8}}]})";
const char kTwo[] =
    R"({"adapters":[{"Adapter_Info":{"MaxDiskGroup":8}},{"Adapter_Info":{"MaxDiskGroup":0}}]})";

struct Case {
    const char *fixture;
    std::vector<std::string> args;
    const char *goldenOut;
    int status;
};

void expectRun(const Case &c)
{
    CliSandbox box(c.fixture);
    CliRun r = box.run(c.args);
    std::string what;
    for (const auto &a : c.args)
        what += a + " ";
    EXPECT_EQ(r.out, golden(c.goldenOut)) << what;
    EXPECT_EQ(r.err, golden("startup.err")) << what;
    EXPECT_EQ(r.status, c.status) << what;
}

} // namespace

TEST(CliGolden, HelpListsOfBothGenerations)
{
    expectRun({kV1, {"help"}, "help_v1.out", 0});
    expectRun({kV2, {"help"}, "help_v2.out", 0});
    expectRun({kV1, {"help", "-i"}, "help_i_v1.out", 0});
    expectRun({kV2, {"?", "--internal"}, "help_i_v2.out", 0});
    expectRun({kV1, {"help", "adapter", "INFO"}, "help_adapter_info.out", 0});
    expectRun({kV2, {"ADAPTER", "-h"}, "adapter_h.out", 0});
}

TEST(CliGolden, VersionsAndAdapters)
{
    expectRun({kV1, {"version"}, "version.out", 0});
    expectRun({kV1, {"v"}, "version.out", 0});
    expectRun({kV2, {"ver"}, "ver.out", 0});
    expectRun({kTwo, {"adapter"}, "adapter.out", 0});
    /* A leading number picks the adapter; 1 has no disk groups, so the
       V1 tables answer. */
    expectRun({kTwo, {"1", "adapter"}, "adapter_lead1.out", 0});
    expectRun({kTwo, {"1", "copyback"}, "invalid_copyback.out", 1});
    expectRun({kTwo, {"adapter", "-i", "3"}, "adapter_i3.out", 1});
}

TEST(CliGolden, ErrorCodes)
{
    expectRun({kV1, {"error", "-c", "0"}, "error_0.out", 0});
    expectRun({kV1, {"error", "-c", "54"}, "error_54.out", 0});
    expectRun({kV2, {"error", "-c", "62"}, "error_62.out", 0});
    expectRun({kV2, {"err", "-c63"}, "error_63.out", 0});
    expectRun({kV1, {"error", "-c", "256"}, "error_256.out", 1});
    expectRun({kV1, {"error", "-c", "0x10"}, "error_0x10.out", 1});
    expectRun({kV1, {"error"}, "error_missing.out", 1});
}

TEST(CliGolden, DispatcherMessages)
{
    expectRun({kV1, {"in"}, "ambiguous_in.out", 1});
    expectRun({kV1, {"s"}, "ambiguous_s.out", 1});
    expectRun({kV1, {"copyback"}, "invalid_copyback.out", 1});
    expectRun({kV2, {"report"}, "invalid_report.out", 1});
    /* exit and quit return -1: status 255 in one-shot mode. */
    CliSandbox box(kV1);
    CliRun r = box.run({"exit"});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(box.run({"EXIT"}).status, 255);
}

TEST(CliGolden, ShellThroughAPipe)
{
    CliSandbox box(kV1);
    CliRun r = box.run({}, golden("shell_pipe.in"));
    EXPECT_EQ(r.out, golden("shell_pipe.out"));
    EXPECT_EQ(r.err, golden("startup.err"));
    EXPECT_EQ(r.status, 0);
}

TEST(CliGolden, ShellEndsAtEndOfInput)
{
    CliSandbox box(kV1);
    CliRun r = box.run({}, golden("shell_eof.in"));
    EXPECT_EQ(r.out, golden("shell_eof.out"));
    EXPECT_EQ(r.status, 0);
    /* Nothing at all on standard input. */
    CliRun empty = box.run({});
    EXPECT_EQ(empty.status, 0);
    EXPECT_NE(empty.out.find("Welcome to RAID Command Line Interface.\n\n> "), std::string::npos);
}

TEST(CliGolden, ShellOnATerminal)
{
    /* Standard output and standard error share the terminal, which shows
       each newline as CR LF; the line editor echoes what is typed. */
    CliSandbox box(kV1);
    CliRun r = box.runOnTerminal({}, {"help INFO", "", "\"x", "error -c 63", "EXIT"});
    EXPECT_EQ(r.out, golden("shell_tty.out"));
    EXPECT_EQ(r.status, 0);
}

TEST(CliGolden, TerminalHistoryKeepsMalformedAndEmptyLines)
{
    /* Up arrow, then Ctrl-P, bring back the refused line; after an empty
       line Ctrl-P brings back the empty line, not the one before it. */
    CliSandbox box(kV1);
    CliRun r = box.runOnTerminal({}, {"\"x", "\x1b[A", "\x10", "", "\x10", "EXIT"});
    EXPECT_EQ(r.out, golden("shell_tty_history.out"));
    EXPECT_EQ(r.status, 0);
}

TEST(CliGolden, TerminalHistoryKeepsNoLineOfAnEncryptionCommand)
{
    /* Such a line may hold a key or a password: the up arrow after it
       brings back the line before it. */
    CliSandbox box(kV1);
    CliRun r = box.runOnTerminal({}, {"error -c 1", "aesop -o verifyKey -e 1 -p Hist0ry-Secret -k k",
                                      "aese -p Hist0ry-Secret", "\x1b[A", "EXIT"});
    EXPECT_EQ(r.status, 0);
    auto count = [&](const std::string &what) {
        int n = 0;
        for (size_t at = r.out.find(what); at != std::string::npos; at = r.out.find(what, at + 1))
            ++n;
        return n;
    };
    /* Once as typed for each line, never recalled. */
    EXPECT_EQ(2, count("Hist0ry-Secret")) << r.out;
    EXPECT_EQ(2, count("Error code 1: Failed.")) << r.out;
}

TEST(CliGolden, TerminalEndOfFileEndsTheShell)
{
    CliSandbox box(kV1);
    CliRun r = box.runOnTerminal({}, {"ver"});
    EXPECT_EQ(r.out, golden("shell_tty_eof.out"));
    EXPECT_EQ(r.status, 0);
}

TEST(CliGolden, OutputFileIsAppendedAndIgnoredByTheCommand)
{
    CliSandbox box(kV1);
    const std::string file = box.path("out.txt");
    writeFile(file, "previous run\n");
    CliRun a = box.run({"error", "-c", "1", "-output", file});
    EXPECT_EQ(a.status, 0);
    EXPECT_EQ(a.out, "");
    /* The pair may stand anywhere, the word in any case. */
    CliRun b = box.run({"-OUTPUT", file, "error", "-c", "73"});
    EXPECT_EQ(b.status, 0);
    EXPECT_EQ(b.out, "");
    EXPECT_EQ(b.err, golden("startup.err"));
    EXPECT_EQ(readFile(file), golden("output_file.out"));
}

TEST(CliGolden, OutputFileForTheShell)
{
    CliSandbox box(kV1);
    const std::string file = box.path("shell.txt");
    CliRun r = box.run({"-output", file}, "error -c 0\nexit\n");
    EXPECT_EQ(r.status, 0);
    /* The line editor's prompt and echo stay on the terminal side. */
    EXPECT_EQ(r.out, "> error -c 0\n> exit\n");
    EXPECT_EQ(readFile(file),
              golden("shell_eof.out").substr(0, golden("shell_eof.out").find("> ")) +
                  "\nError code 0: No error.\n");
}

TEST(CliGolden, OutputFileThatCannotBeOpened)
{
    CliSandbox box(kV1);
    CliRun r = box.run({"ver", "-output", box.path("no/such/dir/out.txt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Unable to open output file '" + box.path("no/such/dir/out.txt") +
                         "': No such file or directory\n");
}

TEST(CliGolden, LeadingAdapterNumberPastTheTable)
{
    CliSandbox box(kTwo);
    for (const char *n : {"16", "255", "256", "99999999999999999999"}) {
        CliRun r = box.run({n, "adapter"});
        EXPECT_EQ(r.status, 1) << n;
        EXPECT_EQ(r.out, "") << n;
        EXPECT_EQ(r.err, std::string("Adapter ") + n + " does not exist.\n") << n;
    }
    /* 15 fits the table: no adapter there, so the V1 tables answer. */
    CliRun r = box.run({"15", "copyback"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, golden("invalid_copyback.out"));
}

TEST(CliGolden, NoAdapterFound)
{
    CliSandbox box(R"({"adapters":[]})");
    CliRun r = box.run({"in"});
    EXPECT_EQ(r.out, golden("no_adapter.out"));
    EXPECT_EQ(r.status, 1);
}

TEST(CliGolden, LibraryInitializationFails)
{
    CliSandbox box(R"({"adapters":[{}],"faults":{"KX_API_Initialize":1}})");
    CliRun r = box.run({"ver"});
    EXPECT_EQ(r.out, golden("init_failed.out"));
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 1);
}

TEST(CliGolden, SgProbeOfADeviceThatIsNoSgDevice)
{
    /* A regular file opens but is no SCSI generic device. */
    CliSandbox box(kV1);
    writeFile(box.path("sg0"), "");
    box.extraEnv = {"ARRAY_SG_DEVICE=" + box.path("sg0")};
    CliRun r = box.run({"ver"});
    const std::string notSg = "cli: " + box.path("sg0") + " doesn't seem to be an new sg device\n";
    EXPECT_EQ(r.out, notSg + "Wait for SG driver ready.\n" + notSg + "Wait for SG driver ready.\n" +
                         golden("ver.out").substr(golden("ver.out").find("CLI")));
    EXPECT_EQ(r.err, "");
}

TEST(CliGolden, SgProbeWaitsAsTheEnvironmentSays)
{
    CliSandbox box(kV1);
    box.extraEnv = {"ARRAY_SG_WAIT=1"};
    timespec a, b;
    clock_gettime(CLOCK_MONOTONIC, &a);
    CliRun r = box.run({"ver"});
    clock_gettime(CLOCK_MONOTONIC, &b);
    EXPECT_EQ(r.out, golden("ver.out"));
    /* One second after each of the two failed tries. */
    EXPECT_GE((b.tv_sec - a.tv_sec) + (b.tv_nsec - a.tv_nsec) / 1e9, 1.9);
}
