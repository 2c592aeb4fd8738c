#include "flash_image.h"

#include <cstdio>
#include <cstring>

namespace sim {

namespace {
const char kMagic[4] = {'K', 'X', 'I', 'M'};
const uint16_t kFormat = 1;

void put16(uint8_t *p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void put32(uint8_t *p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}
uint16_t get16(const uint8_t *p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t get32(const uint8_t *p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint32_t checksum(const uint8_t *p, size_t n)
{
    uint32_t sum = 0;
    for (size_t i = 0; i < n; ++i)
        sum += p[i];
    return sum;
}
}  // namespace

std::vector<uint8_t> makeImage(const ImageHeader &h, const std::vector<uint8_t> &payload)
{
    std::vector<uint8_t> out(kImageHeaderBytes + payload.size(), 0);
    std::memcpy(out.data(), kMagic, 4);
    put16(&out[4], kFormat);
    out[6] = h.type;
    put16(&out[8], h.major);
    put16(&out[10], h.minor);
    put16(&out[12], h.revision);
    put16(&out[14], h.build);
    put16(&out[16], h.vendor);
    put16(&out[18], h.device);
    put16(&out[20], h.subVendor);
    put16(&out[22], h.subDevice);
    put32(&out[24], static_cast<uint32_t>(payload.size()));
    put32(&out[28], checksum(payload.data(), payload.size()));
    if (!payload.empty())
        std::memcpy(out.data() + kImageHeaderBytes, payload.data(), payload.size());
    return out;
}

bool parseImage(const std::vector<uint8_t> &b, ImageHeader &h)
{
    if (b.size() < kImageHeaderBytes || std::memcmp(b.data(), kMagic, 4) != 0 || get16(&b[4]) != kFormat)
        return false;
    const uint32_t length = get32(&b[24]);
    if (b.size() - kImageHeaderBytes != length)
        return false;
    if (checksum(b.data() + kImageHeaderBytes, length) != get32(&b[28]))
        return false;
    h.type = b[6];
    h.major = get16(&b[8]);
    h.minor = get16(&b[10]);
    h.revision = get16(&b[12]);
    h.build = get16(&b[14]);
    h.vendor = get16(&b[16]);
    h.device = get16(&b[18]);
    h.subVendor = get16(&b[20]);
    h.subDevice = get16(&b[22]);
    return true;
}

bool readFile(const std::string &path, std::vector<uint8_t> &out)
{
    out.clear();
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    uint8_t buf[65536];
    size_t n;
    // Images are small; anything far larger than a flash part is not one.
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        out.insert(out.end(), buf, buf + n);
        if (out.size() > (64u << 20)) {
            std::fclose(f);
            return false;
        }
    }
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

}  // namespace sim
