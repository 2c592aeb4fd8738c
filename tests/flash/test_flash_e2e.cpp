// The real arrayctl where a golden run cannot look: the progress line of a
// flash update on a terminal, backups that meet an existing name or a
// symbolic link, the one message that bypasses "-output", and a rescan
// that ends the program.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <string>
#include "cli_runner.h"

namespace {

const std::string kData = FLASH_DATA_DIR;
const char kTwiceFirmware[] = R"({"adapters":[{"Adapter_Info":{"AdvancedFeatures2":1}}]})";

/* What start-up leaves on the terminal when there is no SCSI generic
   device: its error and the wait line, twice. */
std::string terminalPrelude()
{
    const std::string err = "cli :error opening SG device /nonexistent-arrayctl/sg0: No such file or directory\r\n";
    return err + "Wait for SG driver ready.\r\n" + err + "Wait for SG driver ready.\r\n";
}

const char kPipePrelude[] = "Wait for SG driver ready.\nWait for SG driver ready.\n";

} // namespace

TEST(FlashTerminal, UpdateRewritesOneProgressLinePerPass)
{
    CliSandbox box(kTwiceFirmware);
    CliRun bios = box.runOnTerminal({"flash", "-a", "update", "-f", kData + "/bios.img", "-t", "bios"}, {});
    EXPECT_EQ(bios.out, terminalPrelude() +
                            "\r0 of 2 pages written to device.\r1 of 2 pages written to device."
                            "\r2 of 2 pages written to device.\r\n"
                            "Flash command is returned successfully.\r\n");
    EXPECT_EQ(bios.status, 0);

    CliRun firmware =
        box.runOnTerminal({"flash", "-a", "update", "-f", kData + "/firmware.img", "-t", "firmware"}, {});
    EXPECT_EQ(firmware.out, terminalPrelude() +
                                "\r0 of 1 pages written to device.\r1 of 1 pages written to device.\r\n"
                                "\r0 of 1 pages written to device again.\r1 of 1 pages written to device again.\r\n"
                                "Flash command is returned successfully.\r\n");
    EXPECT_EQ(firmware.status, 0);

    /* A refusal starts on a line of its own. */
    CliRun refused =
        box.runOnTerminal({"flash", "-a", "update", "-f", kData + "/truncated.img", "-t", "bios"}, {});
    EXPECT_EQ(refused.out, terminalPrelude() +
                               "\r0 of 2 pages written to device.\r1 of 2 pages written to device.\r\n"
                               "\r\nFailed to update file '" + kData +
                               "/truncated.img', error 7: Invalid request parameter\r\n");
    EXPECT_EQ(refused.status, 7);
}

TEST(FlashTerminal, OutputFileGetsThePageLines)
{
    CliSandbox box(kTwiceFirmware);
    const std::string file = box.path("flash.log");
    CliRun r = box.runOnTerminal(
        {"flash", "-a", "update", "-f", kData + "/bios.img", "-t", "bios", "-output", file}, {});
    EXPECT_EQ(r.status, 0);
    const std::string err = "cli :error opening SG device /nonexistent-arrayctl/sg0: No such file or directory\r\n";
    EXPECT_EQ(r.out, err + err);
    EXPECT_EQ(readFile(file), std::string(kPipePrelude) +
                                  "page 0 write to device.\npage 1 write to device.\n"
                                  "Flash command is returned successfully.\n");
}

TEST(FlashBackup, ExistingNamesAndLinksAreRefusedAndLeftAlone)
{
    CliSandbox box(kTwiceFirmware);
    writeFile(box.path("old"), "keep me");
    ASSERT_EQ(symlink("old", box.path("link-old").c_str()), 0);
    ASSERT_EQ(symlink("none", box.path("link-none").c_str()), 0);
    for (const char *name : {"old", "link-old", "link-none"}) {
        const std::string path = box.path(name);
        CliRun r = box.run({"flash", "-a", "backup", "-f", path, "-t", "bios"});
        EXPECT_EQ(r.out, std::string(kPipePrelude) + "File '" + path + "' has already existed.\n") << name;
        EXPECT_EQ(r.status, 1) << name;
    }
    EXPECT_EQ(readFile(box.path("old")), "keep me");
    struct stat st;
    ASSERT_EQ(lstat(box.path("link-old").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(lstat(box.path("link-none").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_NE(lstat(box.path("none").c_str(), &st), 0);
}

TEST(NvsramPattern, BadPatternIsWrittenOnStandardOutput)
{
    CliSandbox box(kTwiceFirmware);
    const std::string file = box.path("out.txt");
    CliRun r = box.run({"nvsram", "-a", "write", "-p", "zz", "-output", file});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "-p: invalid hex pattern 'zz'\n");
    EXPECT_EQ(readFile(file), kPipePrelude);
}

TEST(Rescan, FindingNoAdapterEndsTheProgram)
{
    CliSandbox box(R"({"adapters":[]})");
    /* The shell does not read the second line. */
    CliRun shell = box.run({}, "rescan -a scan\nhelp\n");
    EXPECT_EQ(shell.status, 1);
    EXPECT_EQ(shell.out, std::string("No adapter is found.\n") + kPipePrelude +
                             "CLI Version: 4.1.0.16   RaidAPI Version: 5.0.0-sim\n"
                             "Welcome to RAID Command Line Interface.\n\n"
                             "> rescan -a scan\n\nScan Adapter is returned successfully.\n"
                             "No adapter is found. Exit!\n");
    const std::string file = box.path("out.txt");
    CliRun once = box.run({"rescan", "-a", "scan", "-output", file});
    EXPECT_EQ(once.status, 1);
    EXPECT_EQ(readFile(file), std::string("No adapter is found.\n") + kPipePrelude +
                                  "\nScan Adapter is returned successfully.\nNo adapter is found. Exit!\n");
}
