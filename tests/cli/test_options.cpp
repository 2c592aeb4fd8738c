// The option loop every handler runs: what it does besides handing options
// to the taker (help, "-output", repeated and missing letters, parser
// errors, flag options) under each of its rules.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "cli_test_support.h"
#include "Public/options.h"

namespace {

int gFlag = -1;
const int kWide = 0x100; /* a long option beyond the letters */

const cli::option kLongOpts[] = {
    {"id", cli::kRequiredArgument, nullptr, 'i'},
    {"flag", cli::kNoArgument, &gFlag, 7},
    {"wide", cli::kNoArgument, nullptr, kWide},
    {"output", cli::kRequiredArgument, nullptr, 1},
    {"help", cli::kNoArgument, nullptr, 'h'},
    {nullptr, 0, nullptr, 0},
};

struct LoopRun {
    int rc;
    std::string out;
    std::vector<std::string> taken; /* "<letter>=<value>" in the order taken */
    int counts[128] = {};
};

/* Runs the loop over words (the command word first) with a taker that
   refuses the value "bad", ignores "-s" and takes the rest. */
LoopRun runLoop(std::vector<std::string> words, const OptionLoopRules &rules)
{
    cmd_struct row = {"cmd", 4, nullptr, "-full help-\n", "-short help-\n"};
    Words w(words);
    LoopRun r;
    StreamCapture cap;
    gFlag = -1;
    r.rc = runOptionLoop(w.argc(), w.argv(), &row, "i:s:q:x\x01:h", kLongOpts, rules, r.counts,
                         [&r](int opt, const char *arg) {
                             if (opt == 'h')
                                 return OPT_HELP;
                             const std::string value = arg ? arg : "";
                             if (value == "bad") {
                                 fprintf(stream, "bad -%c\n", opt);
                                 return OPT_REFUSED;
                             }
                             r.taken.push_back((opt == kWide ? std::string("wide") : std::string(1, (char)opt)) +
                                               "=" + value);
                             return opt == 's' ? OPT_IGNORED : OPT_TAKEN;
                         });
    r.out = cap.take();
    return r;
}

const char *arg(const char *text)
{
    return text;
}

const char kHelp[] = "Description-short help-\n-full help-\n";
const char kDuplicate[] = "Duplicated option specified.\n";

TEST(OptionLoop, TakesOptionsSkipsOutputPairAndFlags)
{
    // Start-up has rewritten "-output" so that it reads as option code 1.
    LoopRun r = runLoop({"cmd", "-i", "3", "-\x01utput", "out.txt", "--flag", "--wide", "-x"}, OptionLoopRules());
    EXPECT_EQ(r.rc, -1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.taken, (std::vector<std::string>{"i=3", "wide=", "x="}));
    EXPECT_EQ(gFlag, 7);
    EXPECT_EQ(r.counts['i'], 1);
    EXPECT_EQ(r.counts['x'], 1);
}

TEST(OptionLoop, HelpRefusalAndParserErrors)
{
    EXPECT_EQ(runLoop({"cmd", "-h", "-i", "bad"}, OptionLoopRules()).out, kHelp);
    LoopRun refused = runLoop({"cmd", "-i", "bad", "-h"}, OptionLoopRules());
    EXPECT_EQ(refused.rc, 1);
    EXPECT_EQ(refused.out, "bad -i\n");

    // An unknown letter: the diagnostic goes to standard error; the loop
    // ends with 1, or with the help when the rules say so.
    LoopRun plain = runLoop({"cmd", "-Z"}, OptionLoopRules());
    EXPECT_EQ(plain.rc, 1);
    EXPECT_EQ(plain.out, "");
    OptionLoopRules helpRules;
    helpRules.helpOnParseError = true;
    LoopRun help = runLoop({"cmd", "-Z"}, helpRules);
    EXPECT_EQ(help.rc, 0);
    EXPECT_EQ(help.out, kHelp);

    OptionLoopRules bare;
    bare.helpWhenBare = true;
    EXPECT_EQ(runLoop({"cmd"}, bare).out, kHelp);
    EXPECT_EQ(runLoop({"cmd"}, OptionLoopRules()).rc, -1);
}

TEST(OptionLoop, RepeatsRefusedAfterTheLoopWhenMetOrByTheCaller)
{
    // After the loop: a bad value later on the line is told first.
    LoopRun after = runLoop({"cmd", "-i", "1", "-i", "2", "-q", "bad"}, OptionLoopRules());
    EXPECT_EQ(after.rc, 1);
    EXPECT_EQ(after.out, "bad -q\n");
    after = runLoop({"cmd", "-i", "1", "-i", "2"}, OptionLoopRules());
    EXPECT_EQ(after.rc, 1);
    EXPECT_EQ(after.out, kDuplicate);

    // When met: the second one is refused before its value is looked at.
    OptionLoopRules met;
    met.duplicates = DUP_WHEN_MET;
    LoopRun early = runLoop({"cmd", "-i", "1", "-i", "bad", "-q", "bad"}, met);
    EXPECT_EQ(early.rc, 1);
    EXPECT_EQ(early.out, kDuplicate);
    EXPECT_EQ(early.taken, (std::vector<std::string>{"i=1"}));

    // By the caller: the loop goes on, and refuseDuplicates tells it.
    OptionLoopRules caller;
    caller.duplicates = DUP_BY_CALLER;
    LoopRun later = runLoop({"cmd", "-i", "1", "-i", "2"}, caller);
    EXPECT_EQ(later.rc, -1);
    EXPECT_EQ(later.out, "");
    EXPECT_EQ(later.counts['i'], 2);
    StreamCapture cap;
    EXPECT_EQ(refuseDuplicates(later.counts, nullptr), 1);
    EXPECT_EQ(cap.take(), kDuplicate);
    EXPECT_EQ(refuseDuplicates(later.counts, "q"), -1);
}

TEST(OptionLoop, OnlyTheOnceLettersAndCountedOptionsAreRepeats)
{
    OptionLoopRules once;
    once.once = "q";
    LoopRun r = runLoop({"cmd", "-i", "1", "-i", "2", "-q", "3"}, once);
    EXPECT_EQ(r.rc, -1);
    EXPECT_EQ(r.counts['i'], 2);
    EXPECT_EQ(runLoop({"cmd", "-q", "1", "-q", "2"}, once).out, kDuplicate);
    once.once = "";
    EXPECT_EQ(runLoop({"cmd", "-q", "1", "-q", "2"}, once).rc, -1);

    // An ignored option is not counted, so it is never a repeat; nor is a
    // long option beyond the letters.
    LoopRun ignored = runLoop({"cmd", "-s", "1", "-s", "2", "--wide", "--wide"}, OptionLoopRules());
    EXPECT_EQ(ignored.rc, -1);
    EXPECT_EQ(ignored.counts['s'], 0);
}

TEST(OptionLoop, RequiredLettersInOrderAfterTheRepeats)
{
    OptionLoopRules rules;
    rules.required = "qi";
    LoopRun none = runLoop({"cmd"}, rules);
    EXPECT_EQ(none.rc, 1);
    EXPECT_EQ(none.out, "cmd: option -q is required\n");
    EXPECT_EQ(runLoop({"cmd", "-q", "1"}, rules).out, "cmd: option -i is required\n");
    EXPECT_EQ(runLoop({"cmd", "-q", "1", "-i", "2"}, rules).rc, -1);
    // A repeat is told before a missing letter.
    EXPECT_EQ(runLoop({"cmd", "-q", "1", "-q", "2"}, rules).out, kDuplicate);
    // An ignored option does not count as given.
    rules.required = "s";
    EXPECT_EQ(runLoop({"cmd", "-s", "1"}, rules).out, "cmd: option -s is required\n");
}

TEST(OptionLoop, TakeWordComparesWithoutCase)
{
    enum Op { OP_NONE, OP_READ, OP_WRITE } op = OP_NONE;
    StreamCapture cap;
    EXPECT_EQ(takeWord(arg("WRITE"), {{"read", OP_READ}, {"write", OP_WRITE}}, "-a : '%s'\n", op), OPT_TAKEN);
    EXPECT_EQ(op, OP_WRITE);
    EXPECT_EQ(takeWord(arg("writes"), {{"read", OP_READ}, {"write", OP_WRITE}}, "-a : '%s'\n", op), OPT_REFUSED);
    EXPECT_EQ(op, OP_WRITE);
    EXPECT_EQ(cap.take(), "-a : 'writes'\n");
}

} // namespace
