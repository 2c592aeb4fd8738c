// The handlers' option parser: argument forms, long-option prefixes and
// ambiguity, permutation of non-options, "--", missing arguments and
// diagnostics that go to standard error only.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string>
#include <vector>
#include "cli_test_support.h"
#include "Public/getopt.h"
#include "Public/globals.h"

namespace {

/* The parser sees a vector as the shell hands it to a handler. */
struct Argv : Words {
    using Words::Words;
    std::string at(int i) const { return ptrs[i]; }
};

const cli::option kCreateOpts[] = {
    {"raidmode", cli::kRequiredArgument, nullptr, 'r'},
    {"id", cli::kRequiredArgument, nullptr, 'i'},
    {"internal", cli::kNoArgument, nullptr, 'n'},
    {"waiveconfirmation", cli::kNoArgument, nullptr, 'w'},
    {"verbose", cli::kOptionalArgument, nullptr, 'v'},
    {"output", cli::kRequiredArgument, nullptr, 1},
    {"help", cli::kNoArgument, nullptr, 'h'},
    {nullptr, 0, nullptr, 0},
};
const char kCreateShort[] = "r:i:d:x::\x01:h";

struct Result {
    int c;
    std::string arg;
};

/* Runs the parser to the end, recording each result and its argument. */
std::vector<Result> runAll(Argv &a, const char *shortopts = kCreateShort,
                           const cli::option *longopts = kCreateOpts)
{
    std::vector<Result> out;
    cli::optind = 1;
    int c;
    int guard = 0;
    while ((c = cli::getopt_long(a.argc(), a.argv(), shortopts, longopts, nullptr)) != -1) {
        out.push_back({c, cli::optarg ? cli::optarg : "<null>"});
        if (++guard > 100) {
            ADD_FAILURE() << "parser does not terminate";
            break;
        }
    }
    return out;
}

class Stderr {
  public:
    Stderr() { testing::internal::CaptureStderr(); }
    std::string take() { return testing::internal::GetCapturedStderr(); }
};

} // namespace

TEST(OptionParser, EveryArgumentFormGivesTheSameOption)
{
    for (auto words : std::vector<std::vector<std::string>>{
             {"create", "-r5"},
             {"create", "-r", "5"},
             {"create", "--raidmode=5"},
             {"create", "--raidmode", "5"},
             {"create", "--raid", "5"},
             {"create", "--r=5"}}) {
        Argv a(words);
        auto r = runAll(a);
        ASSERT_EQ(r.size(), 1u) << words[1];
        EXPECT_EQ(r[0].c, 'r') << words[1];
        EXPECT_EQ(r[0].arg, "5") << words[1];
        EXPECT_EQ(cli::optind, a.argc());
    }
}

TEST(OptionParser, AmbiguousPrefixIsReportedOnStderrOnly)
{
    /* "--i" fits "id" and "internal", which differ. */
    Argv a({"create", "--i", "3"});
    Stderr err;
    FILE *before = stream;
    char buf[64] = {0};
    FILE *mem = fmemopen(buf, sizeof buf, "w");
    stream = mem;
    auto r = runAll(a);
    stream = before;
    fclose(mem);
    ASSERT_GE(r.size(), 1u);
    EXPECT_EQ(r[0].c, '?');
    EXPECT_EQ(cli::optopt, 0);
    EXPECT_EQ(err.take(), "create: option `--i' is ambiguous\n");
    EXPECT_STREQ(buf, "");
}

TEST(OptionParser, IdenticalRowsAreNotAmbiguous)
{
    const cli::option same[] = {
        {"index", cli::kRequiredArgument, nullptr, 'i'},
        {"identifier", cli::kRequiredArgument, nullptr, 'i'},
        {nullptr, 0, nullptr, 0},
    };
    Argv a({"x", "--i", "7"});
    auto r = runAll(a, "i:", same);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].c, 'i');
    EXPECT_EQ(r[0].arg, "7");
}

TEST(OptionParser, ExactNameWinsOverLongerRows)
{
    const cli::option rows[] = {
        {"cacheon", cli::kNoArgument, nullptr, 'a'},
        {"cache", cli::kNoArgument, nullptr, 'b'},
        {nullptr, 0, nullptr, 0},
    };
    Argv a({"set", "--cache"});
    auto r = runAll(a, "", rows);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].c, 'b');
}

TEST(OptionParser, NonOptionsAreMovedBehindTheOptions)
{
    Argv a({"help", "info", "-r", "5", "set", "-h"});
    auto r = runAll(a);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].c, 'r');
    EXPECT_EQ(r[1].c, 'h');
    ASSERT_EQ(cli::optind, 4);
    EXPECT_EQ(a.at(4), "info");
    EXPECT_EQ(a.at(5), "set");
}

TEST(OptionParser, DoubleDashEndsTheOptions)
{
    Argv a({"x", "-r", "1", "--", "-h", "word"});
    auto r = runAll(a);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].c, 'r');
    ASSERT_EQ(cli::optind, 4);
    EXPECT_EQ(a.at(4), "-h");
    EXPECT_EQ(a.at(5), "word");
}

TEST(OptionParser, NonOptionBeforeDoubleDashStaysInFrontOfTheRest)
{
    Argv a({"x", "name", "-h", "--", "-r"});
    auto r = runAll(a);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].c, 'h');
    ASSERT_EQ(cli::optind, 3);
    EXPECT_EQ(a.at(3), "name");
    EXPECT_EQ(a.at(4), "-r");
}

TEST(OptionParser, SingleDashIsANonOption)
{
    Argv a({"x", "-", "-h"});
    auto r = runAll(a);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].c, 'h');
    EXPECT_EQ(a.at(cli::optind), "-");
}

TEST(OptionParser, MissingArguments)
{
    {
        Argv a({"info", "-i"});
        Stderr err;
        auto r = runAll(a);
        ASSERT_EQ(r.size(), 1u);
        EXPECT_EQ(r[0].c, '?');
        EXPECT_EQ(cli::optopt, 'i');
        EXPECT_EQ(err.take(), "info: option requires an argument -- i\n");
    }
    {
        Argv a({"info", "--id"});
        Stderr err;
        auto r = runAll(a);
        ASSERT_EQ(r.size(), 1u);
        EXPECT_EQ(r[0].c, '?');
        EXPECT_EQ(cli::optopt, 'i');
        EXPECT_EQ(err.take(), "info: option `--id' requires an argument\n");
    }
    {
        /* A leading ':' asks for ':' and silence. */
        Argv a({"info", "-i"});
        Stderr err;
        auto r = runAll(a, ":i:");
        ASSERT_EQ(r.size(), 1u);
        EXPECT_EQ(r[0].c, ':');
        EXPECT_EQ(err.take(), "");
    }
}

TEST(OptionParser, UnknownOptionsAndUnwantedArguments)
{
    {
        Argv a({"cc", "-z"});
        Stderr err;
        auto r = runAll(a);
        ASSERT_EQ(r.size(), 1u);
        EXPECT_EQ(r[0].c, '?');
        EXPECT_EQ(cli::optopt, 'z');
        EXPECT_EQ(err.take(), "cc: illegal option -- z\n");
    }
    {
        Argv a({"cc", "--bogus=1", "-h"});
        Stderr err;
        auto r = runAll(a);
        ASSERT_EQ(r.size(), 2u);
        EXPECT_EQ(r[0].c, '?');
        EXPECT_EQ(r[1].c, 'h');
        // The value after "=" is never echoed: it may be a password.
        EXPECT_EQ(err.take(), "cc: unrecognized option `--bogus'\n");
    }
    {
        Argv a({"cc", "--help=yes"});
        Stderr err;
        auto r = runAll(a);
        ASSERT_EQ(r.size(), 1u);
        EXPECT_EQ(r[0].c, '?');
        EXPECT_EQ(cli::optopt, 'h');
        EXPECT_EQ(err.take(), "\t\t\t\t\tcc: option `--help' doesn't allow an argument\n");
    }
    {
        /* A ':' in the option string is no option letter. */
        Argv a({"cc", "-:"});
        Stderr err;
        auto r = runAll(a);
        ASSERT_EQ(r.size(), 1u);
        EXPECT_EQ(r[0].c, '?');
        EXPECT_EQ(err.take(), "cc: illegal option -- :\n");
    }
}

TEST(OptionParser, NoDiagnosticsWhenOptErrIsCleared)
{
    Argv a({"cc", "-z"});
    Stderr err;
    cli::opterr = 0;
    auto r = runAll(a);
    cli::opterr = 1;
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].c, '?');
    EXPECT_EQ(err.take(), "");
}

TEST(OptionParser, OptionalArgumentOnlyWhenAttached)
{
    Argv a({"x", "-xval", "-x", "next", "--verbose=2", "--verbose", "w"});
    auto r = runAll(a);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0].arg, "val");
    EXPECT_EQ(r[1].arg, "<null>");
    EXPECT_EQ(r[2].c, 'v');
    EXPECT_EQ(r[2].arg, "2");
    EXPECT_EQ(r[3].arg, "<null>");
    EXPECT_EQ(a.at(cli::optind), "next");
}

TEST(OptionParser, RewrittenOutputWordIsOptionCodeOne)
{
    /* What start-up leaves of "-output /tmp/f": "-\x01utput" "/tmp/f". */
    Argv a({"info", "-h", std::string("-\x01utput"), "/tmp/f"});
    auto r = runAll(a);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].c, 'h');
    EXPECT_EQ(r[1].c, 1);
    EXPECT_EQ(r[1].arg, "utput");
    EXPECT_EQ(a.at(cli::optind), "/tmp/f");
}

TEST(OptionParser, LongOutputOptionIsCodeOne)
{
    Argv a({"info", "--output", "f"});
    auto r = runAll(a);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].c, 1);
    EXPECT_EQ(r[0].arg, "f");
}

TEST(OptionParser, GroupedLettersGiveTheFirstOnceAndEnd)
{
    Argv a({"wipe", "-hd", "3"});
    auto r = runAll(a);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].c, 'h');
    EXPECT_EQ(a.at(cli::optind), "3");
}

TEST(OptionParser, ANewVectorStartsCleanAfterOptindOne)
{
    /* A previous command left a window of non-options far to the right. */
    Argv first({"a", "b", "c", "d", "e", "-h"});
    runAll(first);
    Argv second({"x", "-r", "1"});
    auto r = runAll(second);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].c, 'r');
    EXPECT_EQ(second.at(0), "x");
    EXPECT_EQ(second.at(1), "-r");
}

TEST(OptionParser, LongIndexAndFlag)
{
    int flag = 0;
    const cli::option rows[] = {
        {"cacheon", cli::kNoArgument, &flag, 7},
        {"name", cli::kRequiredArgument, nullptr, 'n'},
        {nullptr, 0, nullptr, 0},
    };
    Argv a({"set", "--cacheon", "--name", "x"});
    cli::optind = 1;
    int index = -1;
    EXPECT_EQ(cli::getopt_long(a.argc(), a.argv(), "n:", rows, &index), 0);
    EXPECT_EQ(flag, 7);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(cli::getopt_long(a.argc(), a.argv(), "n:", rows, &index), 'n');
    EXPECT_EQ(index, 1);
    EXPECT_STREQ(cli::getoptarg(), "x");
    EXPECT_EQ(cli::getopt_long(a.argc(), a.argv(), "n:", rows, &index), -1);
}

TEST(OptionParser, LongOnlyTakesSingleDashNames)
{
    Argv a({"x", "-raidmode", "5", "-h"});
    cli::optind = 1;
    EXPECT_EQ(cli::getopt_long_only(a.argc(), a.argv(), kCreateShort, kCreateOpts, nullptr), 'r');
    EXPECT_STREQ(cli::optarg, "5");
    EXPECT_EQ(cli::getopt_long_only(a.argc(), a.argv(), kCreateShort, kCreateOpts, nullptr), 'h');
    EXPECT_EQ(cli::getopt_long_only(a.argc(), a.argv(), kCreateShort, kCreateOpts, nullptr), -1);
}

TEST(OptionParser, PlainGetoptAndEmptyVector)
{
    Argv a({"x", "-d", "0,2,4"});
    cli::setoptind(1);
    EXPECT_EQ(cli::getopt(a.argc(), a.argv(), "d:"), 'd');
    EXPECT_STREQ(cli::optarg, "0,2,4");
    EXPECT_EQ(cli::getopt(0, a.argv(), "d:"), -1);
}

TEST(OptionParser, ReturnInOrderAndRequireOrderModes)
{
    /* The ordering mode is read when optind is 0. */
    {
        Argv a({"x", "word", "-h"});
        cli::optind = 0;
        EXPECT_EQ(cli::getopt(a.argc(), a.argv(), "-h"), 1);
        EXPECT_STREQ(cli::optarg, "word");
        EXPECT_EQ(cli::getopt(a.argc(), a.argv(), "-h"), 'h');
        EXPECT_EQ(cli::getopt(a.argc(), a.argv(), "-h"), -1);
    }
    {
        Argv a({"x", "word", "-h"});
        cli::optind = 0;
        EXPECT_EQ(cli::getopt(a.argc(), a.argv(), "+h"), -1);
        EXPECT_EQ(cli::optind, 1);
    }
    /* Back to the permuting mode for the other tests. */
    Argv a({"x"});
    cli::optind = 0;
    EXPECT_EQ(cli::getopt(a.argc(), a.argv(), "h"), -1);
}
