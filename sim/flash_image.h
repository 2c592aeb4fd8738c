// The simulated controller's flash image files.
//
// An image file is a 64-byte header followed by the image's payload; all
// numbers little-endian:
//
//   offset size  field
//        0    4  magic "KXIM"
//        4    2  format version, 1
//        6    1  image type (2 BIOS, 3 firmware, 4 autoload, 1 bin,
//                0 config, 6 raw)
//        7    1  zero
//        8    2  major version
//       10    2  minor version
//       12    2  revision number
//       14    2  build number
//       16    2  vendor ID
//       18    2  device ID
//       20    2  sub-vendor ID
//       22    2  sub-device ID
//       24    4  payload length in bytes
//       28    4  payload checksum: the sum of the payload bytes, mod 2^32
//       32   32  zero
//
// A file is an image only when the magic and format version match, the
// file is exactly 64 + payload length bytes long and the checksum holds.
#ifndef SIM_FLASH_IMAGE_H
#define SIM_FLASH_IMAGE_H

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

struct ImageHeader {
    uint8_t type = 0;
    uint16_t major = 0, minor = 0, revision = 0, build = 0;
    uint16_t vendor = 0, device = 0, subVendor = 0, subDevice = 0;
};

constexpr size_t kImageHeaderBytes = 64;

// The whole image (header and payload) for these values.
std::vector<uint8_t> makeImage(const ImageHeader &h, const std::vector<uint8_t> &payload);
// Checks a whole image; true with its header when it is one.
bool parseImage(const std::vector<uint8_t> &bytes, ImageHeader &out);
// Reads a file whole; false when it cannot be read.
bool readFile(const std::string &path, std::vector<uint8_t> &out);

}  // namespace sim

#endif
