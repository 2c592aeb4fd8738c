// Firmware and BIOS image files: their versions, writing them to the
// adapter page by page and reading the adapter's image back.
#include "rpc_fixture.h"

#include <cstdint>
#include <sys/stat.h>
#include <vector>

#include "kx_api.h"

namespace {

// An image file of the simulated controller (layout in sim/README.md):
// 64-byte header, then the payload.
std::string image(uint8_t type, uint16_t major, uint16_t minor, uint16_t revision, uint16_t build,
                  uint16_t device, uint16_t subDevice, size_t payloadBytes, bool goodChecksum = true)
{
    std::vector<uint8_t> h(64, 0);
    auto put16 = [&](size_t at, uint16_t v) { h[at] = v & 0xFF; h[at + 1] = v >> 8; };
    auto put32 = [&](size_t at, uint32_t v) { for (int i = 0; i < 4; ++i) h[at + i] = (v >> (8 * i)) & 0xFF; };
    h[0] = 'K'; h[1] = 'X'; h[2] = 'I'; h[3] = 'M';
    put16(4, 1);
    h[6] = type;
    put16(8, major); put16(10, minor); put16(12, revision); put16(14, build);
    put16(16, 0x1a2b); put16(18, device); put16(20, 0x1a2c); put16(22, subDevice);
    std::string payload(payloadBytes, '\0');
    uint32_t sum = 0;
    for (size_t i = 0; i < payloadBytes; ++i) {
        payload[i] = static_cast<char>((i * 31 + 7) & 0xFF);
        sum += static_cast<uint8_t>(payload[i]);
    }
    put32(24, static_cast<uint32_t>(payloadBytes));
    put32(28, goodChecksum ? sum : sum + 1);
    return std::string(h.begin(), h.end()) + payload;
}

class Flash : public RpcFixture {
protected:
    void loadAdapter(const std::string &info, const std::string &config = "")
    {
        load("{\"adapters\": [{\"Adapter_Info\": {\"DevID\": 37376" + (info.empty() ? "" : ", " + info) + "}" +
             (config.empty() ? "" : ", \"Adapter_Config_V2\": {" + config + "}") + "}]}");
    }
    std::string option(const std::string &path, int actions, int type = 3)
    {
        return issue("<KX_Flash_Option><AdapterID>0</AdapterID><filepath>" + path + "</filepath><Actions>" +
                     std::to_string(actions) + "</Actions><Type>" + std::to_string(type) + "</Type></KX_Flash_Option>");
    }
    Adapter_Info adapterInfo()
    {
        Adapter_Info info;
        std::memset(&info, 0, sizeof info);
        KX_U8 count = 1;
        EXPECT_EQ(0, KX_Adapter_GetInfo(0, &count, &info));
        return info;
    }
};

TEST_F(Flash, VersionsInsideImageFiles)
{
    loadAdapter("");
    writeFile("fw.img", image(3, 2, 1, 7, 345, 37376, 0x00be, 100));
    EXPECT_EQ("<KX_BIN_Version type=\"function\"><RetVal type=\"U8\">0</RetVal><BINInfo type=\"struct  BINVersion\">"
              "<BINVersion type=\"struct  Version_Info\"><VerBuild><![CDATA[345]]></VerBuild><VerMajor><![CDATA[2]]>"
              "</VerMajor><VerMinor><![CDATA[1]]></VerMinor><VerOEM><![CDATA[7]]></VerOEM></BINVersion>"
              "<DevID><![CDATA[be]]></DevID></BINInfo></KX_BIN_Version>\n",
              issue("<KX_BIN_Version><filepath>" + file("fw.img") + "</filepath><AdapterID>0</AdapterID>"
                    "<Type>3</Type></KX_BIN_Version>"));
    writeFile("bios.img", image(2, 4, 0, 1, 12, 0x9200, 0, 10));
    EXPECT_EQ("<KX_BIOS_Version type=\"function\"><RetVal type=\"U8\">0</RetVal><BIOSInfo type=\"struct  BIOS_Version\">"
              "<BIOSVersion type=\"struct  Version_Info\"><BuildNumber><![CDATA[12]]></BuildNumber><MajorVersion>"
              "<![CDATA[4]]></MajorVersion><MinorVersion><![CDATA[0]]></MinorVersion><RevisionNumber><![CDATA[1]]>"
              "</RevisionNumber></BIOSVersion><DevID><![CDATA[9200]]></DevID><VenID><![CDATA[1a2b]]></VenID></BIOSInfo>"
              "</KX_BIOS_Version>\n",
              issue("<KX_BIOS_Version><filepath>" + file("bios.img") + "</filepath></KX_BIOS_Version>"));
    // A firmware image is no BIOS image; a damaged file is no image.
    EXPECT_EQ("7", memberOf(issue("<KX_BIOS_Version><filepath>" + file("fw.img") + "</filepath></KX_BIOS_Version>"),
                            "RetVal"));
    writeFile("bad.img", image(3, 2, 1, 7, 345, 37376, 1, 100, false));
    EXPECT_EQ("7", memberOf(issue("<KX_BIN_Version><filepath>" + file("bad.img") + "</filepath></KX_BIN_Version>"),
                            "RetVal"));
    EXPECT_EQ("1", memberOf(issue("<KX_BIN_Version><filepath>" + file("none.img") + "</filepath></KX_BIN_Version>"),
                            "RetVal"));
}

TEST_F(Flash, FirmwareOfExactlyTwoPagesIsWrittenAndReadBack)
{
    loadAdapter("");
    // Before any path was given, a request without one names no file.
    EXPECT_EQ("1", memberOf(issue("<KX_Flash_Option><AdapterID>0</AdapterID><Actions>15</Actions></KX_Flash_Option>"),
                            "RetVal"));
    // 2 x 32768 bytes: the second page is full and the last.
    std::string fw = image(3, 3, 0, 2, 500, 37376, 1, 2 * KX_FLASH_PAGE_BYTES - 64);
    ASSERT_EQ(2u * KX_FLASH_PAGE_BYTES, fw.size());
    writeFile("fw.img", fw);
    EXPECT_EQ("0", memberOf(option(file("fw.img"), 15), "RetVal"));
    Adapter_Info info = adapterInfo();
    EXPECT_EQ(3, info.FirmwareVersion.MajorVersion);
    EXPECT_EQ(500, info.FirmwareVersion.BuildNumber);
    // Back from the adapter, byte for byte.
    EXPECT_EQ("0", memberOf(option(file("back.img"), 240), "RetVal"));
    EXPECT_EQ(fw, readWhole(file("back.img")));
    struct stat st;
    ASSERT_EQ(0, stat(file("back.img").c_str(), &st));
    EXPECT_EQ(0644u, st.st_mode & 0777);
    // Only one copy on an adapter that keeps one.
    EXPECT_NE(0, stat(file("state.json.flash/a0-t9.img").c_str(), &st));
}

TEST_F(Flash, SecondFirmwareCopyAndRefusedImages)
{
    loadAdapter("\"AdvancedFeatures2\": 1, \"AdvancedFeatures\": 2147483648", "\"rawimg_update_disabled\": 1");
    writeFile("fw.img", image(3, 3, 1, 0, 9, 37376, 1, 1000));
    EXPECT_EQ("0", memberOf(option(file("fw.img"), 15), "RetVal"));
    struct stat st;
    EXPECT_EQ(0, stat(file("state.json.flash/a0-t9.img").c_str(), &st));
    EXPECT_EQ(readWhole(file("fw.img")), readWhole(file("state.json.flash/a0-t9.img")));
    // Raw images are refused by this adapter's configuration.
    writeFile("raw.img", image(6, 1, 0, 0, 1, 37376, 1, 10));
    EXPECT_EQ("19", memberOf(option(file("raw.img"), 15, 6), "RetVal"));
    // An image for another device changes nothing.
    writeFile("other.img", image(3, 9, 9, 9, 9, 0x1111, 1, 10));
    EXPECT_EQ("7", memberOf(option(file("other.img"), 15), "RetVal"));
    EXPECT_EQ(3, adapterInfo().FirmwareVersion.MajorVersion);
    // An empty file and a file that is no image fail the header check;
    // an unknown action does nothing.
    writeFile("empty.img", "");
    EXPECT_EQ("7", memberOf(option(file("empty.img"), 15), "RetVal"));
    writeFile("text.img", "not an image");
    EXPECT_EQ("7", memberOf(option(file("text.img"), 15), "RetVal"));
    EXPECT_EQ("0", memberOf(option(file("fw.img"), 99), "RetVal"));
}

TEST_F(Flash, BackupOfAnAdapterNeverWritten)
{
    loadAdapter("\"BIOSVersion\": {\"MajorVersion\": 6, \"MinorVersion\": 5, \"RevisionNumber\": 4, \"BuildNumber\": 3}");
    EXPECT_EQ("0", memberOf(option(file("bios.img"), 240, 2), "RetVal"));
    std::string out = issue("<KX_BIOS_Version><filepath>" + file("bios.img") + "</filepath></KX_BIOS_Version>");
    EXPECT_EQ("0", memberOf(out, "RetVal"));
    EXPECT_EQ("6", memberOf(out, "MajorVersion"));
    EXPECT_EQ("3", memberOf(out, "BuildNumber"));
    EXPECT_EQ("9200", memberOf(out, "DevID"));
    // Flash operations switched off on the adapter.
    loadAdapter("\"AdvancedFeatures2\": 8");
    EXPECT_EQ("19", memberOf(option(file("x.img"), 240, 2), "RetVal"));
    EXPECT_EQ("19", memberOf(issue("<KX_Flash_Erase><AdapterID>0</AdapterID><Page>1</Page></KX_Flash_Erase>"), "RetVal"));
}

} // namespace
