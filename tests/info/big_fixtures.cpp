#include "big_fixtures.h"

#include <stdio.h>

#include <nlohmann/json.hpp>

namespace {

const unsigned kPorts = 8;
const unsigned long long kDiskKiB = 976762584ULL;
const unsigned long long kBlockKiB = 1048576ULL;

nlohmann::json adapterInfo(unsigned maxBufferSize)
{
    return {{"MaxDiskGroup", 0}, {"MaxBufferSize", maxBufferSize}, {"MaxExpander", 0},
            {"MaxLogicalDrive", 255}, {"MaxHD_Ext", 1024}, {"MaxTotalBlocks_V2", 1024},
            {"PortCount", kPorts}, {"DevID", 0x9200}, {"Features", 0x7F}};
}

std::string line(const char *label, const std::string &value, int width = 20)
{
    char buf[256];
    snprintf(buf, sizeof buf, "%-*s %s\n", width, label, value.c_str());
    return buf;
}

std::string num(unsigned long long v)
{
    return std::to_string(v);
}

} // namespace

std::string manyDisksFixture(unsigned count, unsigned maxBufferSize)
{
    nlohmann::json pds = nlohmann::json::array();
    for (unsigned i = 0; i < count; ++i) {
        char serial[16];
        snprintf(serial, sizeof serial, "BIG%05u", i);
        pds.push_back({{"id", i}, {"interface", "sata"}, {"model", "BIG DISK"}, {"serial", serial},
                       {"firmware", "BF01"}, {"size", kDiskKiB},
                       {"parent", {{"type", "hba"}, {"port", i % kPorts}}}});
    }
    nlohmann::json doc = {{"adapters", {{{"Adapter_Info", adapterInfo(maxBufferSize)}, {"pds", pds}}}}};
    return doc.dump(1);
}

std::string manyDisksListing(unsigned count)
{
    std::string s = "\nPhysical Disk Information\n----------------------------\n";
    for (unsigned i = 0; i < count; ++i) {
        char serial[16];
        snprintf(serial, sizeof serial, "BIG%05u", i);
        s += line("Adapter:", "0");
        s += line("PD ID:", num(i));
        s += line("Type:", "SATA PD");
        s += line("Linked at:", "HBA port " + num(i % kPorts));
        s += line("Size:", num(kDiskKiB) + " K");
        s += line("Write cache:", "supported (on)");
        s += line("SMART:", "supported (on)");
        s += line("NCQ:", "supported");
        s += line("48 bits LBA:", "supported");
        s += line("supported speed:", "1.5 3 6 Gb/s");
        s += line("Current speed:", "6 Gb/s");
        s += line("model:", "BIG DISK");
        s += line("Serial:", serial);
        s += line("Firmware version:", "BF01");
        s += line("Locate LED status:", "Not Support");
        s += line("Running OS:", "no");
        s += line("block ids:", "");
        s += line("PD valid size:", num(kDiskKiB) + " K");
        s += "\n\n";
    }
    s += line("Total # of PD:", num(count)) + "\n";
    return s;
}

std::string manyVdsFixture(unsigned count, unsigned maxBufferSize)
{
    nlohmann::json pds = nlohmann::json::array(), blocks = nlohmann::json::array(),
                   vds = nlohmann::json::array();
    for (unsigned p = 0; p < kPorts; ++p)
        pds.push_back({{"id", p}, {"size", kDiskKiB}});
    for (unsigned i = 0; i < count; ++i) {
        char name[16];
        snprintf(name, sizeof name, "vd%03u", i);
        blocks.push_back({{"id", i}, {"pd", i % kPorts}, {"vd", i},
                          {"start", (unsigned long long)(i / kPorts) * kBlockKiB}, {"size", kBlockKiB}});
        vds.push_back({{"id", i}, {"name", name}, {"raid", 0}, {"blocks", {i}}});
    }
    nlohmann::json doc = {{"adapters",
                           {{{"Adapter_Info", adapterInfo(maxBufferSize)}, {"pds", pds}, {"blocks", blocks},
                             {"vds", vds}}}}};
    return doc.dump(1);
}

std::string manyVdsListing(unsigned count)
{
    std::string s = "\nVirtual Disk Information\n-------------------------\n";
    for (unsigned i = 0; i < count; ++i) {
        char name[16];
        snprintf(name, sizeof name, "vd%03u", i);
        s += line("id:", num(i));
        s += line("name:", name);
        s += line("status:", "functional");
        s += line("Stripe size:", "64");
        s += line("RAID mode:", "RAID0");
        s += line("Cache mode:", "On ");
        s += line("size:", num(kBlockKiB >> 10) + " M");
        s += line("BGA status:", "N/A");
        s += line("Block ids:", num(i) + " ");
        s += line("# of PDs:", "1");
        s += line("PD RAID setup:", num(i % kPorts) + " ");
        s += line("Running OS:", "no");
        // An idle VD's (blank) progress line, then the VD's own.
        s += "\n\n";
    }
    s += line("Total # of VD:", num(count)) + "\n";
    return s;
}
