// The rules of a disk replacement (which free disk fits, why another does
// not, the GB rounding and the slot words) and the yes/no question.
#include <gtest/gtest.h>

#include <string.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "question.h"
#include "replace_rules.h"

namespace {

HD_Info disk(KX_U8 connection, bool ssd, KX_U32 sector)
{
    HD_Info d;
    memset(&d, 0, sizeof d);
    d.ConnectionType = connection;
    d.HD_SSD_Type = ssd ? 1 : 0;
    d.BlockSize = sector;
    return d;
}

TEST(ReplaceRules, GbRoundsDownWhatIsThereAndUpWhatIsNeeded)
{
    EXPECT_EQ(client::gbText(97656250, false), "100 GB");     // exactly 10^11 bytes
    EXPECT_EQ(client::gbText(97656250, true), "100 GB");
    EXPECT_EQ(client::gbText(97656251, true), "101 GB");
    EXPECT_EQ(client::gbText(976762584, false), "1000 GB");   // 1000.2 GB
    EXPECT_EQ(client::gbText(976762584, true), "1001 GB");
    EXPECT_EQ(client::gbText(5000000, false), "5.1 GB");      // 5.12 GB: tenths below 10 GB
    EXPECT_EQ(client::gbText(5000000, true), "5.2 GB");
    EXPECT_EQ(client::gbText(0, true), "0.0 GB");
    EXPECT_EQ(client::gbText(9765625, true), "10 GB");         // 10.0 exactly: whole GB
}

TEST(ReplaceRules, KindFromConnectionOrOlderHdType)
{
    const client::DiskKind sata = client::diskKind(disk(0x05, false, 512));
    EXPECT_EQ(client::diskKindWords(sata), "SATA hard disk, sector size 512");
    EXPECT_EQ(client::diskKind(disk(0x06, true, 4096)).iface, "SAS");
    EXPECT_EQ(client::diskKind(disk(0x09, false, 512)).iface, "PATA");
    EXPECT_EQ(client::diskKind(disk(0x00, false, 512)).iface, "unknown");
    HD_Info old = disk(0, false, 512);
    old.HDType = 4;
    EXPECT_EQ(client::diskKind(old).iface, "SAS");
    old.HDType = 1;
    EXPECT_EQ(client::diskKind(old).iface, "SATA");
    EXPECT_TRUE(client::diskKind(disk(0x05, true, 512)).ssd);
}

TEST(ReplaceRules, EachReasonInItsOrderAndNoneForADiskThatFits)
{
    const client::DiskKind member = client::diskKind(disk(0x05, false, 512));
    const uint64_t need = 976762584;
    EXPECT_TRUE(client::replacementWhyNot(need, &member, need, disk(0x05, false, 512)).empty());
    EXPECT_TRUE(client::replacementWhyNot(need, &member, need + 1, disk(0x05, false, 512)).empty());
    EXPECT_EQ(client::replacementWhyNot(need, &member, 97656250, disk(0x05, false, 512)),
              std::vector<std::string>{"too small: 100 GB, needs 1001 GB"});
    EXPECT_EQ(client::replacementWhyNot(need, &member, need - 1, disk(0x05, false, 512)),
              std::vector<std::string>{"too small: 1000 GB, needs 1001 GB"}) << "one KiB short is short";
    EXPECT_EQ(client::replacementWhyNot(need, &member, need, disk(0x05, true, 512)),
              std::vector<std::string>{"SSD, the member is a hard disk"});
    EXPECT_EQ(client::replacementWhyNot(need, &member, need, disk(0x06, false, 512)),
              std::vector<std::string>{"SAS, the member is SATA"});
    EXPECT_EQ(client::replacementWhyNot(need, &member, need, disk(0x05, false, 4096)),
              std::vector<std::string>{"sector size 4096, the member has 512"});
    EXPECT_EQ(client::replacementWhyNot(need, &member, 1000, disk(0x06, true, 4096)),
              (std::vector<std::string>{"too small: 0.0 GB, needs 1001 GB", "SSD, the member is a hard disk",
                                        "SAS, the member is SATA", "sector size 4096, the member has 512"}));
    const client::DiskKind ssd = client::diskKind(disk(0x05, true, 512));
    EXPECT_EQ(client::replacementWhyNot(need, &ssd, need, disk(0x05, false, 512)),
              std::vector<std::string>{"hard disk, the member is an SSD"});
    // Without a known member kind only the size counts.
    EXPECT_TRUE(client::replacementWhyNot(need, nullptr, need, disk(0x06, true, 4096)).empty());
}

TEST(ReplaceRules, SlotWordsWithTheEnclosureFirst)
{
    HD_Info d = disk(0x05, false, 512);
    d.Link.Parent.DevType = 3;
    d.Link.Parent.DevID = 2;
    d.Link.Parent.PhyID[0] = 7;
    d.Link.Self.EnclosureID = 1;
    EXPECT_EQ(client::slotText(d), "enclosure 1, expander 2, port 7");
    d.Link.Self.EnclosureID = 0xFFFF;
    EXPECT_EQ(client::slotText(d), "expander 2, port 7");
    d.Link.Self.EnclosureID = 0xFF;
    d.Link.Parent.DevType = 255;
    EXPECT_EQ(client::slotText(d), "HBA port 7");
    d.Link.Parent.DevType = 2;
    EXPECT_EQ(client::slotText(d), "PM 2, port 7");
    d.Link.Parent.DevType = 9;
    EXPECT_EQ(client::slotText(d), "device of type 9, ID 2, port 7");
}

/* Runs the question with input on standard input; the answer and what
   was written. */
client::Answer ask(const std::string &input, std::string &written, std::string *rest = nullptr)
{
    int in[2];
    EXPECT_EQ(pipe(in), 0);
    EXPECT_EQ(write(in[1], input.data(), input.size()), static_cast<ssize_t>(input.size()));
    close(in[1]);
    const int saved = dup(STDIN_FILENO);
    dup2(in[0], STDIN_FILENO);
    close(in[0]);
    char *buf = nullptr;
    size_t len = 0;
    FILE *out = open_memstream(&buf, &len);
    const client::Answer a = client::confirm(out, "Go on? (y or n)\n");
    if (rest) {
        char tail[64];
        const ssize_t n = read(STDIN_FILENO, tail, sizeof tail);
        rest->assign(tail, n > 0 ? static_cast<size_t>(n) : 0);
    }
    fclose(out);
    written.assign(buf, len);
    free(buf);
    dup2(saved, STDIN_FILENO);
    close(saved);
    return a;
}

TEST(Confirm, FirstCharacterOfALineAnswersAndTheNextLineIsLeft)
{
    std::string w, rest;
    EXPECT_EQ(ask("yes please\nnext line\n", w, &rest), client::Answer::Yes);
    EXPECT_EQ(w, "Go on? (y or n)\n");
    EXPECT_EQ(rest, "next line\n") << "the answer takes its own line only";
    EXPECT_EQ(ask("N\n", w), client::Answer::No);
    EXPECT_EQ(ask("maybe\n\nY", w), client::Answer::Yes);
    EXPECT_EQ(w, "Go on? (y or n)\nPlease input y or n.\nPlease input y or n.\n");
    EXPECT_EQ(ask("", w), client::Answer::End);
    EXPECT_EQ(ask("x", w), client::Answer::End) << "an unfinished wrong answer at the end is no answer";
    EXPECT_EQ(w, "Go on? (y or n)\nPlease input y or n.\n");
}

} // namespace
