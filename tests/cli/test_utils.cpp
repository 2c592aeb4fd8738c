// Shared conversions, disk-type texts, file-name expansion, file routines
// and the host clock rules.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>
#include <fstream>
#include <string>
#include "Public/fileio.h"
#include "Public/globals.h"
#include "Public/startup.h"
#include "Public/utils.h"

namespace {

std::string tempDir()
{
    const char *base = getenv("TMPDIR");
    std::string templ = std::string(base ? base : "/tmp") + "/cliutil-XXXXXX";
    std::string dir = templ;
    if (!mkdtemp(&dir[0]))
        return "";
    return dir;
}

void writeFile(const std::string &path, const std::string &text)
{
    std::ofstream(path) << text;
}

bool exists(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

} // namespace

TEST(Numbers, DecimalAndHex)
{
    EXPECT_TRUE(isNumber(""));
    EXPECT_TRUE(isNumber("0123"));
    EXPECT_FALSE(isNumber("12a"));
    EXPECT_FALSE(isNumber("-1"));
    EXPECT_FALSE(isNumber(" 1"));
    EXPECT_TRUE(isHex("0x1F"));
    EXPECT_TRUE(isHex("0XaB"));
    EXPECT_FALSE(isHex("0x"));
    EXPECT_FALSE(isHex("0x1G"));
    EXPECT_FALSE(isHex("1F"));
    EXPECT_FALSE(isHex(""));
    EXPECT_FALSE(isHex("0"));
    EXPECT_EQ(atohex("0x1F"), 31u);
    EXPECT_EQ(atohex("0x1f"), 31u);
    EXPECT_EQ(atohex("0xFFFFFFFF"), 0xFFFFFFFFu);
    /* More than eight digits lose the high ones. */
    EXPECT_EQ(atohex("0x123456789"), 0x23456789u);
    EXPECT_EQ(atohex("0x"), 0u);
    EXPECT_EQ(atohex(""), 0u);
}

TEST(Texts, LowerCase)
{
    char word[] = "InFo-O HBA1";
    EXPECT_EQ(strlwr(word), word);
    EXPECT_STREQ(word, "info-o hba1");
}

TEST(Texts, RaidModes)
{
    EXPECT_EQ(chooseRaidMode("0"), 0);
    EXPECT_EQ(chooseRaidMode("1e"), 17);
    EXPECT_EQ(chooseRaidMode("1E"), 17);
    EXPECT_EQ(chooseRaidMode("hc"), 10);
    EXPECT_EQ(chooseRaidMode("HC"), 255);
    EXPECT_EQ(chooseRaidMode("hybrid"), 12);
    EXPECT_EQ(chooseRaidMode("50"), 80);
    EXPECT_EQ(chooseRaidMode("60"), 96);
    EXPECT_EQ(chooseRaidMode("10"), 16);
    EXPECT_EQ(chooseRaidMode("15"), 255);
    EXPECT_EQ(chooseRaidMode(""), 255);
    EXPECT_STREQ(RaidModeStr(15), "JBOD");
    EXPECT_STREQ(RaidModeStr(17), "RAID1e");
    EXPECT_STREQ(RaidModeStr(11), "tandem safe");
    EXPECT_STREQ(RaidModeStr(96), "RAID60");
    EXPECT_STREQ(RaidModeStr(2), "unknown");
    EXPECT_STREQ(RaidModeStr(255), "unknown");
    /* Every accepted keyword reads back as a listed level. */
    for (const char *w : {"0", "1", "5", "6", "hc", "hs", "hybrid", "10", "1e", "50", "60"})
        EXPECT_STRNE(RaidModeStr(chooseRaidMode(w)), "unknown") << w;
}

TEST(Texts, BgaActions)
{
    EXPECT_EQ(chooseBGAAction("start"), 0);
    EXPECT_EQ(chooseBGAAction("restart"), 1);
    EXPECT_EQ(chooseBGAAction("pause"), 2);
    EXPECT_EQ(chooseBGAAction("resume"), 3);
    EXPECT_EQ(chooseBGAAction("stop"), 4);
    EXPECT_EQ(chooseBGAAction("Start"), 255);
    EXPECT_EQ(chooseBGAAction("sta"), 255);
}

TEST(DiskType, ExtendedRecord)
{
    HD_Info hd;
    char out[CLI_HDTYPE_LEN];
    auto text = [&](KX_U8 conn, KX_U8 dev) {
        memset(&hd, 0, sizeof hd);
        hd.ConnectionType = conn;
        hd.DeviceType = dev;
        memset(out, 'X', sizeof out);
        getHdTypeString(out, &hd, 1);
        return std::string(out);
    };
    EXPECT_EQ(text(0x05, 0), "SATA PD");
    EXPECT_EQ(text(0x09, 5), "PATA CD/DVD");
    EXPECT_EQ(text(0x06, 13), "SAS ENCLOSURE");
    /* SATA wins over SAS when bits 0, 1 and 2 are all set. */
    EXPECT_EQ(text(0x07, 1), "SATA TAPE");
    EXPECT_EQ(text(0x35, 2), "SATA ATAPI SGPIO PRINTER");
    EXPECT_EQ(text(0x00, 0), " PD");
    EXPECT_EQ(text(0x05, 7), "unknown 0x7");
    EXPECT_EQ(text(0x3F, 0xFF), "unknown 0xff");
}

TEST(DiskType, OlderRecord)
{
    HD_Info hd;
    char out[CLI_HDTYPE_LEN];
    auto text = [&](KX_U8 type) {
        memset(&hd, 0, sizeof hd);
        hd.HDType = type;
        hd.ConnectionType = 0x05; /* must be ignored */
        getHdTypeString(out, &hd, 0);
        return std::string(out);
    };
    EXPECT_EQ(text(4), "SAS PD");
    EXPECT_EQ(text(1), "SATA PD");
    EXPECT_EQ(text(3), "SATA PD");
    EXPECT_EQ(text(2 | 8), "PATA ATAPI CD/DVD");
    EXPECT_EQ(text(1 | 16), "SATA TAPE");
    EXPECT_EQ(text(1 | 8 | 16), "SATA ATAPI CD/DVD");
    EXPECT_EQ(text(1 | 32), "SATA");
    EXPECT_EQ(text(0), "unknown PD");
}

TEST(DiskType, IdLists)
{
    const KX_U16 ids[] = {0, 1, 2, 3, 65535};
    char out[64];
    getPhyIdString(out, sizeof out, ids, 4);
    EXPECT_STREQ(out, "0, 1, 2, 3");
    getPhyIdString(out, sizeof out, ids, 1);
    EXPECT_STREQ(out, "0");
    getPhyIdString(out, sizeof out, ids, 0);
    EXPECT_STREQ(out, "");
    getPhyIdString(out, sizeof out, ids, 5);
    EXPECT_STREQ(out, "0, 1, 2, 3, 65535");
    /* A small buffer keeps whole IDs only. */
    char small[8];
    getPhyIdString(small, sizeof small, ids, 4);
    EXPECT_STREQ(small, "0, 1, 2");
}

TEST(FileName, ExpandsTildeVariablesAndBlanks)
{
    setenv("CLI_TEST_DIR", "/data/images", 1);
    char name[256];
    strcpy(name, "$CLI_TEST_DIR/fw.bin");
    ASSERT_EQ(process_filename(name, sizeof name), 0);
    EXPECT_STREQ(name, "/data/images/fw.bin");
    setenv("HOME", "/home/admin", 1);
    strcpy(name, "~/fw.bin");
    ASSERT_EQ(process_filename(name, sizeof name), 0);
    EXPECT_STREQ(name, "/home/admin/fw.bin");
    /* Blanks between words come back as typed. */
    strcpy(name, "my  fw   image.bin");
    ASSERT_EQ(process_filename(name, sizeof name), 0);
    EXPECT_STREQ(name, "my  fw   image.bin");
    strcpy(name, "'quoted name'.bin");
    ASSERT_EQ(process_filename(name, sizeof name), 0);
    EXPECT_STREQ(name, "quoted name.bin");
}

TEST(FileName, RefusesCommandSubstitutionWithoutRunningIt)
{
    const std::string dir = tempDir();
    ASSERT_FALSE(dir.empty());
    const std::string marker = dir + "/ran";
    for (std::string name : {"$(touch " + marker + ")", "`touch " + marker + "`",
                             "fw$(touch " + marker + ").bin", "\"$(touch " + marker + ")\"",
                             std::string("$[\x02 $@"), std::string("$(( $* ))")}) {
        char buf[256];
        strcpy(buf, name.c_str());
        EXPECT_EQ(process_filename(buf, sizeof buf), -1) << name;
        EXPECT_STREQ(buf, name.c_str()) << "left unchanged";
        EXPECT_FALSE(exists(marker)) << name;
    }
    /* Inside single quotes it is only text. */
    char buf[256];
    strcpy(buf, "'$(touch x)'");
    ASSERT_EQ(process_filename(buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "$(touch x)");
    rmdir(dir.c_str());
}

TEST(FileName, NothingOrTooLongIsAnError)
{
    unsetenv("CLI_TEST_EMPTY");
    char name[64];
    strcpy(name, "$CLI_TEST_EMPTY");
    EXPECT_EQ(process_filename(name, sizeof name), -1);
    strcpy(name, "");
    EXPECT_EQ(process_filename(name, sizeof name), -1);
    setenv("CLI_TEST_LONG", std::string(100, 'x').c_str(), 1);
    strcpy(name, "$CLI_TEST_LONG");
    EXPECT_EQ(process_filename(name, sizeof name), -1);
    EXPECT_STREQ(name, "$CLI_TEST_LONG");
}

TEST(FileRoutines, CreateReadWriteAndLength)
{
    const std::string dir = tempDir();
    ASSERT_FALSE(dir.empty());
    char name[256];
    snprintf(name, sizeof name, "%s/backup.bin", dir.c_str());
    int fd = -1;
    ASSERT_EQ(OpenFileInCLI(name, sizeof name, &fd, 1), 0);
    EXPECT_EQ(WriteToFile(fd, "0123456789", 10), 0);
    EXPECT_EQ(FileSeek(fd, 3, SEEK_SET), 3);
    EXPECT_EQ(GetFileLen(fd), 10);
    EXPECT_EQ(FileSeek(fd, 0, SEEK_CUR), 3) << "length leaves the position alone";
    char buf[16] = {0};
    size_t count = 99;
    EXPECT_EQ(ReadFromFile(fd, buf, sizeof buf, &count), 0);
    EXPECT_EQ(count, 7u);
    EXPECT_STREQ(buf, "3456789");
    CloseFileInCLI(fd);

    /* Create refuses an existing file with 2, other failures give 1. */
    int fd2 = -1;
    EXPECT_EQ(OpenFileInCLI(name, sizeof name, &fd2, 1), 2);
    char missing[256];
    snprintf(missing, sizeof missing, "%s/no/such/dir", dir.c_str());
    EXPECT_EQ(OpenFileInCLI(missing, sizeof missing, &fd2, 1), 1);
    EXPECT_EQ(OpenFileInCLI(missing, sizeof missing, &fd2, 0), 1);
    ASSERT_EQ(OpenFileInCLI(name, sizeof name, &fd2, 0), 0);
    EXPECT_EQ(GetFileLen(fd2), 10);
    /* Read-only: a write cannot complete. */
    EXPECT_EQ(WriteToFile(fd2, "x", 1), 1);
    CloseFileInCLI(fd2);
    EXPECT_EQ(OpenFileInCLI(nullptr, 0, &fd2, 0), 0);
    EXPECT_EQ(OpenFileInCLI(name, sizeof name, nullptr, 0), 0);
    unlink(name);
    rmdir(dir.c_str());
}

TEST(Clock, HwclockAndUtcRules)
{
    const std::string dir = tempDir();
    ASSERT_FALSE(dir.empty());
    const std::string path = dir + "/clock";
    auto status = [&](const std::string &text) {
        writeFile(path, text);
        return UTCStatus_Init(path.c_str());
    };
    EXPECT_EQ(UTCStatus_Init((dir + "/missing").c_str()), 2);
    EXPECT_EQ(status(""), 2);
    EXPECT_EQ(status("ZONE=Europe/Berlin\n"), 2);
    EXPECT_EQ(status("HWCLOCK=\"-u\"\n"), 0);
    EXPECT_EQ(status("HWCLOCK=\"--localtime\"\n"), 1);
    EXPECT_EQ(status("UTC=true\n"), 0);
    EXPECT_EQ(status("UTC=false\n"), 1);
    /* HWCLOCK lines decide before any UTC line, wherever they stand. */
    EXPECT_EQ(status("UTC=true\nHWCLOCK=\"--localtime\"\n"), 1);
    /* The first line that decides ends the search. */
    EXPECT_EQ(status("UTC=false\nUTC=true\n"), 1);
    EXPECT_EQ(status("HWCLOCK=\"-u\"\nHWCLOCK=\"--localtime\"\n"), 0);
    /* "-u" is tested first on a line. */
    EXPECT_EQ(status("HWCLOCK=\"--localtime\" HWCLOCK=\"-u\"\n"), 0);
    /* Commented out settings do not count. */
    EXPECT_EQ(status("#UTC=true\nUTC=false\n"), 1);
    EXPECT_EQ(status("#HWCLOCK=\"-u\"\nUTC=true\n"), 0);
    EXPECT_EQ(status("# UTC=true\n"), 2);
    EXPECT_EQ(status("  #HWCLOCK=\"-u\"\n"), 2);
    EXPECT_EQ(status("export UTC=false\n"), 1);
    unlink(path.c_str());
    rmdir(dir.c_str());
}

TEST(BlockCheck, OlderAdaptersAndArraysNeedNoCheck)
{
    memset(gAdapterInfo, 0, sizeof gAdapterInfo);
    gCurrentAdapter = 0;
    arrayBasedRaid = 0;
    gAdapterInfo[0].DevID = 0x6300;
    EXPECT_EQ(HDisFreeDiskForBirch(1, 0), 0);
    gAdapterInfo[0].DevID = 0x9200;
    arrayBasedRaid = 1;
    EXPECT_EQ(HDisFreeDiskForBirch(1, 0), 0);
    arrayBasedRaid = 0;
}

namespace {

/* An adapter without disk groups whose 40 blocks span two list pages
   (MaxBufferSize 1 KiB: 31 block records per page). */
std::string blockFixture(int conflictAt)
{
    std::string blocks;
    for (int i = 0; i < 40; ++i) {
        const int hd = i == conflictAt ? 2 : 1;
        const int ld = i == conflictAt ? 5 : (i % 2 ? 0xFF : 0);
        blocks += (i ? "," : "") + std::string("{\"id\":") + std::to_string(i) +
                  ",\"Block_Info\":{\"HDID\":" + std::to_string(hd) +
                  ",\"LDID\":" + std::to_string(ld) + "}}";
    }
    return "{\"adapters\":[{\"Adapter_Info\":{\"MaxDiskGroup\":0,\"MaxBufferSize\":1,"
           "\"DevID\":37376},\"pds\":[{\"id\":1},{\"id\":2},{\"id\":7}],"
           "\"vds\":[{\"id\":0},{\"id\":5}],\"blocks\":[" + blocks + "]}]}";
}

} // namespace

TEST(BlockCheck, PagesThroughTheBlocksOfTheController)
{
    const char *state = getenv("ARRAYCORE_SIM_STATE");
    ASSERT_NE(state, nullptr);
    memset(gAdapterInfo, 0, sizeof gAdapterInfo);
    gCurrentAdapter = 0;
    arrayBasedRaid = 0;
    gAdapterInfo[0].DevID = 37376;
    gAdapterInfo[0].MaxBufferSize = 1;

    writeFile(state, blockFixture(3));
    EXPECT_EQ(HDisFreeDiskForBirch(2, 0), 73) << "conflict on the first page";
    EXPECT_EQ(HDisFreeDiskForBirch(2, 5), 0) << "the block belongs to the VD itself";
    EXPECT_EQ(HDisFreeDiskForBirch(1, 0), 0) << "free (0xFF) and own blocks only";
    writeFile(state, blockFixture(35));
    EXPECT_EQ(HDisFreeDiskForBirch(2, 0), 73) << "conflict on the second page";
    EXPECT_EQ(HDisFreeDiskForBirch(7, 0), 0) << "a disk without blocks";
    /* The controller's failure is passed on. */
    writeFile(state, "{\"adapters\":[{\"Adapter_Info\":{\"MaxDiskGroup\":0,\"DevID\":37376},"
                     "\"faults\":{\"KX_BLK_GetInfo\":19}}]}");
    EXPECT_EQ(HDisFreeDiskForBirch(2, 0), 19);
    unlink(state);
}
