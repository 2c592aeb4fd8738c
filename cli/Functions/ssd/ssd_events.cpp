#include "Functions/ssd/ssd_events.h"

#include <stddef.h>

namespace {

struct EventText {
    KX_U32 id;
    const char *text;
};

/* Events of one line without parameters. */
const EventText kTexts[] = {
    {0xA0000, "  Flash downloaded image corrupt.\n"},
    {0xA0001, "  Flash erase error.\n"},
    {0xA0002, "  Flash timeout during erase.\n"},
    {0xA0003, "  Flash error.\n"},
    {0xA0005, "  Flash of new firmware images complete.\n"},
    {0xA0006, "  Flash programming error.\n"},
    {0xA0007, "  Flash timeout during programming.\n"},
    {0xA0008, "  Flash chip type unknown.\n"},
    {0xA0009, "  Flash command set unknown.\n"},
    {0xA000A, "  Flash verify failure.\n"},
    {0xA000B, "  NVRAM is corrupt; reinitializing.\n"},
    {0xA000C, "  NVRAM mismatch occured.\n"},
    {0xA000D, "  NVRAM reconstruction started.\n"},
    {0xA000E, "  NVRAM reconstruction done.\n"},
    {0xA000F, "  Flash operation failed.\n"},
    {0xA0010, "  Flash operation failed.\n"},
    {0xA0011, "  Flash write image succeeded.\n"},
    {0xA0012, "  Flash read image succeeded.\n"},
    {0xA0013, "  Flash write image failed.\n"},
    {0xA0014, "  Flash read image failed.\n"},
    {0xA0015, "  Flash generation error.\n"},
    {0xA0016, "  Flash fatal generation error.\n"},
    {0xA0017, "  Header error is found in flash.\n"},
    {0xA0018, "  Data error is found in flash.\n"},
    {0xA0019, "  Both header error and data error are found in flash.\n"},
    {0xA001A, "  Error detected by H/W.\n   Detected flash overflow.\n"},
    {0xA001B, "  Error detected by H/W.\n   Detected flash grown.\n"},
    {0xA001C, "  NVRAM reconstruction fail.\n"},
    {0xA001D, "  Flash new image fail.\n"},
    {0xA001E, "  NVRAM wear leveling started.\n"},
    {0xA001F, "  NVRAM wear leveling fail.\n"},
    {0xA0020, "  NVRAM erase space.\n"},
    {0xA0021, "  Loader first image invalid.\n"},
    {0xA0022, "  Loader second image invalid.\n"},
    {0xA0023, "  Loader dual image invalid.\n"},
    {0xA0024, "  Self test ITCM RW test fail.\n"},
    {0xA0025, "  Self test DTCM RW test fail.\n"},
    {0xA0026, "  Self test DDR RW test fail.\n"},
    {0xA0027, "  SEQ time out.\n"},
    {0xA0028, "  NVRAM weruo out of space.\n"},
    {0xB0000, "  Host send hard reset.\n"},
    {0xB0001, "  Host send soft reset.\n"},
    {0xB0002, "  Host abort command.\n"},
    {0xB0003, "  Rx get CRC error.\n"},
    {0xB0004, "  Rx send R_Err FIS.\n"},
    {0xB0005, "  Rx get a flow error, such as unexcepted SYNC.\n"},
    {0xB0006, "  Rx get FIS with illegal length.\n"},
    {0xB0007, "  Tx get a R_Err FIS.\n"},
    {0xB0008, "  Tx get a flow error, such as unexcepted SYNC.\n"},
    {0xB0009, "  Link code error.\n"},
    {0xB000A, "  Phy time out with Link hung.\n"},
    {0xB000B, "  Phy time out without link hung.\n"},
    {0xB000C, "  CHSB time stamp counter saturated.\n"},
    {0xB000D, "  CRSB time stamp counter saturated.\n"},
    {0xB000E, "  Q cmd mixed with Non-Q cmd.\n"},
    {0xB000F, "  Wrong tag of Q cmd is detected.\n"},
    {0xB0010, "  Retransmit counter expired.\n"},
    {0xC0000, "  BM DDR allocation failure.\n"},
    {0xC0001, "  Write manufacture infomation.\n"},
    {0xC0002, "  Change user space ratio.\n"},
    {0xC0003, "  User space ratio reset operation.\n"},
    {0xFFFF0003, "  Flash power up.\n"},
};

} // namespace

void printSsdEvent(FILE *out, KX_U32 id, const KX_U32 params[4], KX_U16 xfer)
{
    switch (id) {
    case 0xA0004:
        fprintf(out, "  Flashing image: %d.\n", (int)params[0]);
        return;
    case 0xFFFF0001:
        fprintf(out, "  Failed NCQ command.\n");
        fprintf(out, "\tTag :        0x%08X\n", params[0]);
        fprintf(out, "\tOP code :    0x%08X\n", params[1]);
        fprintf(out, "\tLBA :        0x%04X%08X\n", params[2], params[3]);
        fprintf(out, "\tXFER count : %d\n", (int)xfer);
        return;
    case 0xFFFF0002:
        fprintf(out, "  Error detected by H/W.\n");
        fprintf(out, "\tHost interrupt status (R4A16) :       0x%08X\n", params[0]);
        fprintf(out, "\tESAT error interrupt status (R4AAC) : 0x%08X\n", params[1]);
        fprintf(out, "\tESAT transport status low (R4A10) :   0x%08X\n", params[2]);
        fprintf(out, "\tESAT transport status high (R4A12) :  0x%08X\n", params[3]);
        return;
    default:
        break;
    }
    for (size_t i = 0; i < sizeof kTexts / sizeof kTexts[0]; ++i)
        if (kTexts[i].id == id) {
            fputs(kTexts[i].text, out);
            return;
        }
    fprintf(out, "  Unknown event ID: 0x%8X\n", id);
}
