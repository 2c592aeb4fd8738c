// Line splitting, quote stripping, command resolution against the real
// tables and the built-in commands, in-process.
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include <vector>
#include "cli_test_support.h"
#include "Functions/help_texts.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/globals.h"
#include "Public/startup.h"

namespace {

std::vector<std::string> split(const std::string &line, int *result = nullptr)
{
    static char buffer[CLI_LINE_MAX];
    strncpy(buffer, line.c_str(), sizeof buffer - 1);
    buffer[sizeof buffer - 1] = '\0';
    char *words[CLI_MAX_WORDS];
    int num = -1;
    int r = parse(&num, words, buffer);
    if (result)
        *result = r;
    std::vector<std::string> out;
    for (int i = 0; i < num && i < CLI_MAX_WORDS; ++i)
        out.push_back(words[i]);
    return out;
}

using W = std::vector<std::string>;

/* V1 (no disk groups) or V2 tables, two adapters found. */
void useTables(bool v2)
{
    memset(gAdapterInfo, 0, sizeof gAdapterInfo);
    gAdapterInfo[0].MaxDiskGroup = v2 ? 8 : 0;
    gNumAdaptersFound = 2;
    gCurrentAdapter = 0;
    chooseCmdTables(0);
}

int dispatch(std::vector<std::string> words, std::string *out)
{
    Words w(std::move(words));
    StreamCapture cap;
    int rc = cmdDispatcher(w.argc(), w.argv());
    *out = cap.take();
    return rc;
}

} // namespace

TEST(Parse, BlanksTabsAndQuotes)
{
    EXPECT_EQ(split("info -o hba"), (W{"info", "-o", "hba"}));
    EXPECT_EQ(split("info   -o    hba"), (W{"info", "-o", "hba"}));
    EXPECT_EQ(split("info -o hba "), (W{"info", "-o", "hba"}));
    EXPECT_EQ(split("info -o hba   "), (W{"info", "-o", "hba"}));
    /* Each further tab ends one more, empty, word. */
    EXPECT_EQ(split("info\t\t-o"), (W{"info", "", "-o"}));
    EXPECT_EQ(split("info\t -o"), (W{"info", "-o"}));
    EXPECT_EQ(split("info \t-o"), (W{"info", "", "-o"}));
    /* A leading blank makes an empty first word. */
    EXPECT_EQ(split(" info"), (W{"", "info"}));
    EXPECT_EQ(split("\tinfo"), (W{"", "info"}));
    EXPECT_EQ(split(""), W{});
    /* Quotes stay in the word; blanks inside do not split. */
    EXPECT_EQ(split("set -o vd -i 0 -n \"My VD\""), (W{"set", "-o", "vd", "-i", "0", "-n", "\"My VD\""}));
    EXPECT_EQ(split("x a\"b c\"d e"), (W{"x", "a\"b c\"d", "e"}));
    EXPECT_EQ(split("x \"\""), (W{"x", "\"\""}));
}

TEST(Parse, UnclosedQuoteFailsTheLine)
{
    int r = -1;
    EXPECT_TRUE(split("set -n \"My VD", &r).empty());
    EXPECT_EQ(r, 0);
    EXPECT_TRUE(split("a \"b\" \"c", &r).empty());
    EXPECT_EQ(r, 0);
    split("a \"b\" c", &r);
    EXPECT_EQ(r, 1);
}

TEST(Parse, CountsWordsBeyondTheLimitWithoutStoringThem)
{
    std::string line;
    for (int i = 0; i < 70; ++i)
        line += "w ";
    char buffer[CLI_LINE_MAX];
    strcpy(buffer, line.c_str());
    char *words[CLI_MAX_WORDS + 1];
    words[CLI_MAX_WORDS] = reinterpret_cast<char *>(0x1);
    int num = 0;
    ASSERT_EQ(parse(&num, words, buffer), 1);
    EXPECT_EQ(num, 70);
    EXPECT_EQ(words[CLI_MAX_WORDS], reinterpret_cast<char *>(0x1));
}

TEST(NoQuoteStrncpy, QuotedAndPlainValues)
{
    char out[9];
    memset(out, 'X', sizeof out);
    noQuoteStrncpy(out, "\"My VD\"", 8);
    EXPECT_STREQ(out, "My VD");
    /* Quoted: up to maxLen characters (out holds maxLen + 1). */
    noQuoteStrncpy(out, "\"abcdefghijk\"", 8);
    EXPECT_STREQ(out, "abcdefgh");
    /* Plain: at most maxLen - 1 characters. */
    noQuoteStrncpy(out, "abcdefghijk", 8);
    EXPECT_STREQ(out, "abcdefg");
    noQuoteStrncpy(out, "abc", 8);
    EXPECT_STREQ(out, "abc");
    noQuoteStrncpy(out, "\"", 8);
    EXPECT_STREQ(out, "");
    noQuoteStrncpy(out, "\"\"", 8);
    EXPECT_STREQ(out, "");
}

TEST(Tables, SizesAndRows)
{
    EXPECT_EQ(generalCmdTableV1Size(), 27);
    EXPECT_EQ(internalCmdTableV1Size(), 14);
    EXPECT_EQ(generalCmdTableV2Size(), 24);
    EXPECT_EQ(internalCmdTableV2Size(), 13);
    cmd_struct *tables[] = {generalCmdTableV1, internalCmdTableV1, generalCmdTableV2,
                            internalCmdTableV2};
    unsigned short sizes[] = {27, 14, 24, 13};
    for (int t = 0; t < 4; ++t) {
        for (unsigned short i = 0; i < sizes[t]; ++i) {
            const cmd_struct &row = tables[t][i];
            EXPECT_EQ(row.cmdLen, static_cast<int>(strlen(row.cmd)) + 1) << row.cmd;
            EXPECT_NE(row.cmdHandler, nullptr) << row.cmd;
            ASSERT_NE(row.cmdHelp, nullptr) << row.cmd;
            ASSERT_NE(row.cmdShortHelp, nullptr) << row.cmd;
            EXPECT_GT(strlen(row.cmdHelp), 10u) << row.cmd;
        }
    }
    EXPECT_STREQ(generalCmdTableV1[0].cmd, "?");
    EXPECT_STREQ(generalCmdTableV1[26].cmd, "smart");
    EXPECT_STREQ(internalCmdTableV2[12].cmd, "tandem");
    EXPECT_STREQ(generalCmdTableV2[23].cmd, "message");
}

TEST(Tables, AdapterCapabilityChoosesTheGeneration)
{
    useTables(true);
    EXPECT_EQ(arrayBasedRaid, 1);
    EXPECT_EQ(pCmdTable, generalCmdTableV2);
    EXPECT_EQ(cmdTableSize, 24);
    EXPECT_EQ(inCmdTableSize, 13);
    useTables(false);
    EXPECT_EQ(arrayBasedRaid, 0);
    EXPECT_EQ(pInCmdTable, internalCmdTableV1);
    /* A number past the table reads as no adapter: V1. */
    chooseCmdTables(200);
    EXPECT_EQ(pCmdTable, generalCmdTableV1);
}

TEST(Dispatcher, AbbreviationsAndMessages)
{
    std::string out;
    useTables(false);
    EXPECT_EQ(dispatch({"in"}, &out), 1);
    EXPECT_EQ(out, "Ambiguous command 'in'!\n");
    EXPECT_EQ(dispatch({"s"}, &out), 1);
    EXPECT_EQ(out, "Ambiguous command 's'!\n");
    EXPECT_EQ(dispatch({""}, &out), 1);
    EXPECT_EQ(out, "Ambiguous command ''!\n");
    EXPECT_EQ(dispatch({"ex"}, &out), 1);
    EXPECT_EQ(out, "Invalid command 'ex'!\n");
    EXPECT_EQ(dispatch({"copyback"}, &out), 1);
    EXPECT_EQ(out, "Invalid command 'copyback'!\n");
    EXPECT_EQ(dispatch({"message"}, &out), 1);
    EXPECT_EQ(out, "Invalid command 'message'!\n");
    EXPECT_EQ(dispatch({"bad\x01word"}, &out), 1);
    EXPECT_EQ(out, "Invalid command!\n");
    EXPECT_EQ(dispatch({"caf\xc3\xa9"}, &out), 1);
    EXPECT_EQ(out, "Invalid command!\n");

    useTables(true);
    EXPECT_EQ(dispatch({"report"}, &out), 1);
    EXPECT_EQ(out, "Invalid command 'report'!\n");
    /* "s" is set, smart, ssd... and still ambiguous on V2. */
    EXPECT_EQ(dispatch({"s"}, &out), 1);
    EXPECT_EQ(out, "Ambiguous command 's'!\n");
}

TEST(Dispatcher, ExactWordsCaseAndPrefixes)
{
    std::string out;
    useTables(false);
    EXPECT_EQ(dispatch({"EXIT"}, &out), -1);
    EXPECT_EQ(dispatch({"Quit"}, &out), -1);
    EXPECT_EQ(dispatch({"ver"}, &out), 0);
    EXPECT_EQ(out.rfind("CLI Version: 4.1.0.16   RaidAPI Version: ", 0), 0u) << out;
    EXPECT_EQ(dispatch({"v"}, &out), 0);
    EXPECT_EQ(out.rfind("CLI Version: 4.1.0.16\nRaidAPI Version: ", 0), 0u) << out;
    EXPECT_EQ(dispatch({"VE"}, &out), 0);
    EXPECT_EQ(out.rfind("CLI Version: 4.1.0.16\n", 0), 0u) << out;
    /* "h" reaches help: the legend comes first. */
    EXPECT_EQ(dispatch({"h"}, &out), 0);
    EXPECT_EQ(out.rfind("\nLegend: \n", 0), 0u);
    /* "smart" typed in full beats the longer "smartctl". */
    EXPECT_EQ(dispatch({"smart", "-h"}, &out), 0);
    EXPECT_EQ(out, std::string("Description") + smart_sh + smart_help);
    /* An internal row is reached when no general row fits. */
    EXPECT_EQ(dispatch({"tand", "-h"}, &out), 0);
    EXPECT_EQ(out, std::string("Description") + tandem_sh + tandem_help);
}

TEST(Dispatcher, PlaceholderCommandsSayTheyAreMissing)
{
    /* Every command of the tables is built now; a row of its own keeps
       the placeholder honest for commands still to come. */
    cmd_struct row = {"future", 7, notAvailableInThisBuild, "\nfuture [-h]\n", ":A command to come."};
    std::string out;
    useTables(false);
    Words w({"future", "-x"});
    testing::internal::CaptureStderr();
    StreamCapture cap;
    EXPECT_EQ(row.cmdHandler(w.argc(), w.argv(), &row), 1);
    out = cap.take();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "future: command is not available in this build\n");
    EXPECT_EQ(out, "");
    Words help({"future", "--help"});
    StreamCapture cap2;
    EXPECT_EQ(row.cmdHandler(help.argc(), help.argv(), &row), 0);
    EXPECT_EQ(cap2.take(), "Description:A command to come.\nfuture [-h]\n");
}

TEST(Help, ListsAndPages)
{
    std::string out;
    useTables(false);
    EXPECT_EQ(dispatch({"help", "-i"}, &out), 0);
    std::string expected;
    char line[256];
    for (unsigned short i = 0; i < internalCmdTableV1Size(); ++i) {
        snprintf(line, sizeof line, "%-12s %s\n", internalCmdTableV1[i].cmd,
                 internalCmdTableV1[i].cmdShortHelp);
        expected += line;
    }
    EXPECT_EQ(out, expected + "\n");
    EXPECT_EQ(dispatch({"help", "-i", "-i"}, &out), 1);
    EXPECT_EQ(out, "Duplicated option specified.\n");
    EXPECT_EQ(dispatch({"help", "INFO"}, &out), 0);
    EXPECT_EQ(out, "No help available for 'INFO'\n");
    /* Pages as printf formats: "%%" prints as "%". */
    EXPECT_EQ(dispatch({"help", "ssdop"}, &out), 0);
    EXPECT_NE(out.find("requires 20% of volume capacity"), std::string::npos);
    EXPECT_EQ(out.find("%%"), std::string::npos);
    EXPECT_EQ(dispatch({"help", "nosuch", "version"}, &out), 0);
    EXPECT_EQ(out, std::string("No help available for 'nosuch'\nDescription") + version_sh +
                       version_help);
    useTables(true);
    EXPECT_EQ(dispatch({"help", "rebuild"}, &out), 0);
    EXPECT_EQ(out, std::string("Description") + rebuildV2_sh + rebuildV2_help);
}

TEST(Error, CodesAndOptionErrors)
{
    std::string out;
    useTables(false);
    EXPECT_EQ(dispatch({"error", "-c", "0"}, &out), 0);
    EXPECT_EQ(out, "\nError code 0: No error.\n");
    EXPECT_EQ(dispatch({"error", "-c", "54"}, &out), 0);
    EXPECT_EQ(out, "\nError code 54: Specified physical disk  is a spare drive.\n");
    EXPECT_EQ(dispatch({"error", "-c", "62"}, &out), 0);
    EXPECT_EQ(out, "\nError code 62: Unknown error.\n");
    EXPECT_EQ(dispatch({"error", "--controller=63"}, &out), 0);
    EXPECT_EQ(out, "\nError code 63: BGA is running.\n");
    EXPECT_EQ(dispatch({"error", "-c", "256"}, &out), 1);
    EXPECT_EQ(out, "Invalid error code\n");
    EXPECT_EQ(dispatch({"error", "-c", "99999999999999999999999"}, &out), 1);
    EXPECT_EQ(out, "Invalid error code\n");
    EXPECT_EQ(dispatch({"error", "-c", "0x10"}, &out), 1);
    EXPECT_EQ(out, "-c : id should be a number\n");
    EXPECT_EQ(dispatch({"error"}, &out), 1);
    EXPECT_EQ(out, "error: option -c is required\n");
    EXPECT_EQ(dispatch({"error", "-c", "1", "-c", "2"}, &out), 1);
    EXPECT_EQ(out, "Duplicated option specified.\n");
    EXPECT_EQ(dispatch({"error", "-h"}, &out), 0);
    EXPECT_EQ(out, std::string("Description") + error_sh + error_help);
}

TEST(ErrorMessage, TableOf94Codes)
{
    int listed = 0;
    for (int c = 0; c < 256; ++c)
        if (strcmp(ErrorMessage(static_cast<KX_U8>(c)), "Unknown error") != 0)
            ++listed;
    EXPECT_EQ(listed, 94);
    EXPECT_EQ(ErrorMessageCount(), 94);
    EXPECT_STREQ(ErrorMessage(73), "Physical disks are not of the same type.");
    EXPECT_STREQ(ErrorMessage(81),
                 "Another array is currently doing migration. Only one migration is allowed at any time.");
    EXPECT_STREQ(ErrorMessage(164), "IoControl buffer size is too big.");
    EXPECT_STREQ(ErrorMessage(250), "entry no key");
    for (int c : {2, 3, 31, 50, 62, 90, 150, 157, 167, 183, 186, 240, 251, 255})
        EXPECT_STREQ(ErrorMessage(static_cast<KX_U8>(c)), "Unknown error") << c;
}

TEST(Adapter, SelectAndRefuse)
{
    std::string out;
    useTables(false);
    gAdapterInfo[1].MaxDiskGroup = 4;
    EXPECT_EQ(dispatch({"adapter", "-i", "3"}, &out), 1);
    EXPECT_EQ(out, "Adapter 3 does not exist.\n");
    EXPECT_EQ(dispatch({"adapter", "-i", "x1"}, &out), 1);
    EXPECT_EQ(out, "-i : invalid adapter id 'x1'\n");
    EXPECT_EQ(dispatch({"adapter", "-i", "1", "-i", "1"}, &out), 1);
    EXPECT_EQ(out, "Duplicated option specified.\n");
    EXPECT_EQ(dispatch({"adapter", "-i", "99999999999999999999"}, &out), 1);
    EXPECT_EQ(out, "Adapter 99999999999999999999 does not exist.\n");
    /* Selecting the array-based adapter switches to the V2 tables. */
    EXPECT_EQ(dispatch({"adapter", "--id=1"}, &out), 0);
    EXPECT_EQ(out, "");
    EXPECT_EQ(gCurrentAdapter, 1);
    EXPECT_EQ(arrayBasedRaid, 1);
    EXPECT_EQ(dispatch({"copyback", "-h"}, &out), 0);
    EXPECT_EQ(out, std::string("Description") + copyback_sh + copyback_help);
    EXPECT_EQ(dispatch({"adapter", "-i", "0"}, &out), 0);
    EXPECT_EQ(arrayBasedRaid, 0);
}

TEST(Shell, LineChecks)
{
    useTables(false);
    StreamCapture cap;
    EXPECT_EQ(shellExecuteLine(""), 0);
    EXPECT_EQ(cap.take(), "Type 'exit' to exit CLI.\n");
    EXPECT_EQ(shellExecuteLine("set -n \"x"), 1);
    EXPECT_EQ(cap.take(), "Invalid quoted string.\n");
    EXPECT_EQ(shellExecuteLine(std::string(2047, 'a').c_str()), 1);
    EXPECT_EQ(cap.take(), "Invalid command '" + std::string(2047, 'a') + "'!\n");
    EXPECT_EQ(shellExecuteLine(std::string(2048, 'a').c_str()), 1);
    EXPECT_EQ(cap.take(), "Command line is too long (at most 2047 characters).\n");
    std::string many = "error";
    for (int i = 0; i < 64; ++i)
        many += " -c";
    EXPECT_EQ(shellExecuteLine(many.c_str()), 1);
    EXPECT_EQ(cap.take(), "Too many words in the command line (at most 64).\n");
    EXPECT_EQ(shellExecuteLine("error -c 1"), 0);
    EXPECT_EQ(cap.take(), "\nError code 1: Failed.\n");
    EXPECT_EQ(shellExecuteLine("exit"), -1);
}
