// Flash images: reading image headers, writing an image page by page,
// backing the adapter's image up into a file, erasing.
//
// What an adapter holds in flash is kept as image files next to the state
// document ("<state>.flash/a<adapter>-t<type>.img"). An adapter that was
// never written answers a backup with an image made from its current
// version fields. A write is one process's sequence of calls (announce,
// then the pages in order), gathered in that process until the last page,
// then checked whole: a good image takes effect (the firmware or BIOS
// version of the adapter changes) and is kept; a bad one changes nothing.
#include <cerrno>
#include <cstdio>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

#include "api.h"
#include "flash_image.h"

using namespace sim;

namespace {

enum : uint16_t { FLASH_UPDATE_OK = 17, FLASH_BACKUP_OK = 18, FLASH_UPDATE_FAILED = 19 };

std::string imagePath(uint8_t adapter, uint8_t type)
{
    return statePath() + ".flash/a" + std::to_string(adapter) + "-t" + std::to_string(type) + ".img";
}

bool storeImage(uint8_t adapter, uint8_t type, const std::vector<uint8_t> &bytes)
{
    const std::string dir = statePath() + ".flash";
    if (mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST)
        return false;
    const std::string path = imagePath(adapter, type);
    const std::string tmp = path + ".tmp." + std::to_string(getpid());
    FILE *f = std::fopen(tmp.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fflush(f) == 0 && ok;
    ok = fsync(fileno(f)) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    if (!ok || std::rename(tmp.c_str(), path.c_str()) != 0) {
        std::remove(tmp.c_str());
        return false;
    }
    return true;
}

ImageHeader headerOf(const Adapter &a, uint8_t type)
{
    ImageHeader h;
    h.type = type;
    const Version_Info_CIM &v = type == KX_IMAGE_BIOS ? a.info.BIOSVersion
                                : (type == KX_IMAGE_FIRMWARE || type == KX_IMAGE_FIRMWARE2) ? a.info.FirmwareVersion
                                                                                          : a.info.BootLoaderVersion;
    h.major = v.MajorVersion;
    h.minor = v.MinorVersion;
    h.revision = v.RevisionNumber;
    h.build = v.BuildNumber;
    h.vendor = a.info.VenID;
    h.device = a.info.DevID;
    h.subVendor = a.info.SubVenID;
    h.subDevice = a.info.SubDevID;
    return h;
}

// The image an adapter holds of a type.
std::vector<uint8_t> heldImage(const Adapter &a, uint8_t type)
{
    std::vector<uint8_t> bytes;
    ImageHeader h;
    if (readFile(imagePath(a.number, type), bytes) && parseImage(bytes, h))
        return bytes;
    // Larger than one page, so that a backup takes several.
    std::vector<uint8_t> payload(40000);
    for (size_t i = 0; i < payload.size(); ++i)
        payload[i] = static_cast<uint8_t>(i * 7 + type);
    return makeImage(headerOf(a, type), payload);
}

struct Upload {
    uint8_t type = 0;
    uint32_t size = 0;
    uint16_t nextPage = 0;
    std::vector<uint8_t> bytes;
};
std::mutex gUploadsLock;
std::map<uint8_t, Upload> gUploads;  // by adapter, for this process

bool flashSupported(const Adapter &a) { return !(a.info.AdvancedFeatures2 & 0x08); }

uint8_t readHeader(const char *path, ImageHeader &h)
{
    std::vector<uint8_t> bytes;
    if (!path || !readFile(path, bytes))
        return KX_ST_FAILED;
    return parseImage(bytes, h) ? KX_ST_OK : KX_ST_INVALID_PARAM;
}

// A complete upload takes effect. The second copy of a firmware image
// (type 9) carries a firmware header.
uint8_t commit(Adapter &a, const Upload &u)
{
    ImageHeader h;
    const bool typeOk = parseImage(u.bytes, h) &&
                        (h.type == u.type || (u.type == KX_IMAGE_FIRMWARE2 && h.type == KX_IMAGE_FIRMWARE));
    if (!typeOk || u.bytes.size() != u.size || (h.device != 0 && h.device != a.info.DevID)) {
        a.queueEvent(10, FLASH_UPDATE_FAILED, a.number, SEV_MAJOR);
        return KX_ST_INVALID_PARAM;
    }
    if (!storeImage(a.number, u.type, u.bytes))
        return KX_ST_FAILED;
    Version_Info_CIM v;
    v.MajorVersion = h.major;
    v.MinorVersion = h.minor;
    v.RevisionNumber = h.revision;
    v.BuildNumber = h.build;
    if (u.type == KX_IMAGE_BIOS)
        a.info.BIOSVersion = v;
    else if (u.type == KX_IMAGE_FIRMWARE || u.type == KX_IMAGE_FIRMWARE2)
        a.info.FirmwareVersion = v;
    a.queueEvent(10, FLASH_UPDATE_OK, a.number, SEV_INFO);
    return KX_ST_OK;
}

}  // namespace

SIM_EXPORT KX_U8 KX_Flash_GetHeaderInfo(const char *path, KX_U8 *type, Version_Info_CIM *version, KX_U16 *subId)
{
    SIM_GUARD({
        Session s("KX_Flash_GetHeaderInfo", -1);
        if (!s.ok())
            return s.status();
        if (!type || !version || !subId)
            return KX_ST_INVALID_PARAM;
        ImageHeader h;
        uint8_t st = readHeader(path, h);
        if (st != KX_ST_OK)
            return s.finish(st);
        // The caller compares the type it expected with the file's.
        *type = h.type;
        version->MajorVersion = h.major;
        version->MinorVersion = h.minor;
        version->RevisionNumber = h.revision;
        version->BuildNumber = h.build;
        *subId = h.subDevice;
        return s.finish(KX_ST_OK);
    })
}

SIM_EXPORT KX_U8 KX_BIOS_Version(const char *path, BIOS_Version *info)
{
    SIM_GUARD({
        Session s("KX_BIOS_Version", -1);
        if (!s.ok())
            return s.status();
        if (!info)
            return KX_ST_INVALID_PARAM;
        ImageHeader h;
        uint8_t st = readHeader(path, h);
        if (st == KX_ST_OK && h.type != KX_IMAGE_BIOS)
            st = KX_ST_INVALID_PARAM;
        if (st != KX_ST_OK)
            return s.finish(st);
        std::memset(info, 0, sizeof *info);
        info->BIOSVersion.MajorVersion = h.major;
        info->BIOSVersion.MinorVersion = h.minor;
        info->BIOSVersion.RevisionNumber = h.revision;
        info->BIOSVersion.BuildNumber = h.build;
        info->VenID = h.vendor;
        info->DevID = h.device;
        return s.finish(KX_ST_OK);
    })
}

SIM_EXPORT KX_U8 KX_Flash_PreData(KX_U8 adapter, const KX_FLASH_PER_DATA *announce)
{
    SIM_GUARD({
        Session s("KX_Flash_PreData", adapter);
        if (!s.ok())
            return s.status();
        if (!announce || adapter == 0xFF || announce->image_size == 0)
            return KX_ST_INVALID_PARAM;
        if (!flashSupported(s.adapter()))
            return KX_ST_NOT_SUPPORTED;
        std::lock_guard<std::mutex> g(gUploadsLock);
        Upload &u = gUploads[adapter];
        u = Upload();
        u.type = announce->image_type;
        u.size = announce->image_size;
        return s.finish(KX_ST_OK);
    })
}

SIM_EXPORT KX_U8 KX_Flash_Bin(KX_U8 adapter, KX_U8 action, KX_U8 type, Flash_Data *page)
{
    SIM_GUARD({
        Session s("KX_Flash_Bin", adapter);
        if (!s.ok())
            return s.status();
        if (!page || adapter == 0xFF)
            return KX_ST_INVALID_PARAM;
        Adapter &a = s.adapter();
        if (!flashSupported(a))
            return KX_ST_NOT_SUPPORTED;
        if (action == KX_FLASH_BACKUP) {
            std::vector<uint8_t> image = heldImage(a, type);
            const size_t from = static_cast<size_t>(page->PageNum) * KX_FLASH_PAGE_BYTES;
            if (from >= image.size())
                return s.finish(KX_ST_OUT_OF_RANGE);
            const size_t n = std::min<size_t>(KX_FLASH_PAGE_BYTES, image.size() - from);
            std::memcpy(page->Data, image.data() + from, n);
            page->Size = static_cast<KX_U32>(n);
            page->isLastPage = from + n == image.size() ? 1 : 0;
            if (page->isLastPage) {
                a.queueEvent(10, FLASH_BACKUP_OK, a.number, SEV_INFO);
                s.changed();
            }
            return s.finish(KX_ST_OK);
        }
        if (action == KX_FLASH_ERASE) {
            std::remove(imagePath(a.number, type).c_str());
            return s.finish(KX_ST_OK);
        }
        if (action != KX_FLASH_UPDATE)
            return KX_ST_INVALID_PARAM;
        std::lock_guard<std::mutex> g(gUploadsLock);
        auto it = gUploads.find(adapter);
        if (it == gUploads.end() || it->second.type != type || page->PageNum != it->second.nextPage ||
            page->Size > KX_FLASH_PAGE_BYTES || it->second.bytes.size() + page->Size > it->second.size)
            return s.finish(KX_ST_INVALID_PARAM);
        Upload &u = it->second;
        u.bytes.insert(u.bytes.end(), page->Data, page->Data + page->Size);
        ++u.nextPage;
        if (!page->isLastPage)
            return s.finish(KX_ST_OK);
        Upload done = std::move(u);
        gUploads.erase(it);
        uint8_t st = commit(a, done);
        s.changed();
        return s.finish(st);
    })
}

SIM_EXPORT KX_U8 KX_Flash_Erase(KX_U8 adapter, KX_U8 page)
{
    SIM_GUARD({
        Session s("KX_Flash_Erase", adapter);
        if (!s.ok())
            return s.status();
        if (adapter == 0xFF)
            return KX_ST_INVALID_PARAM;
        if (!flashSupported(s.adapter()))
            return KX_ST_NOT_SUPPORTED;
        // The PD page (1) and its forced erase (254) are the only pages the
        // host may erase.
        if (page != 1 && page != 254)
            return s.finish(KX_ST_INVALID_PARAM);
        return s.finish(KX_ST_OK);
    })
}
