#include "Operators/adapter/FlashTransfer.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include "kx_api.h"

namespace {
const KX_U8 kFileError = 1;
const KX_U8 kRawRefused = 19;
// A backup ends with the page the adapter marks last; an adapter that never
// does must not fill the disk.
const unsigned kMaxBackupPages = 4096;

struct FileCloser {
    int fd;
    ~FileCloser()
    {
        if (fd >= 0)
            close(fd);
    }
};

bool writeAll(int fd, const unsigned char *data, size_t n)
{
    while (n > 0) {
        ssize_t w = write(fd, data, n);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            return false;
        data += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}

// Reads up to n bytes; fewer only at the end of the file.
ssize_t readFull(int fd, unsigned char *data, size_t n)
{
    size_t got = 0;
    while (got < n) {
        ssize_t r = read(fd, data + got, n - got);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            return -1;
        if (r == 0)
            break;
        got += static_cast<size_t>(r);
    }
    return static_cast<ssize_t>(got);
}

KX_U8 backup(KX_U8 adapter, KX_U8 type, const char *path)
{
    FileCloser file{open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644)};
    if (file.fd < 0)
        return kFileError;
    std::unique_ptr<Flash_Data> page(new Flash_Data);
    for (unsigned n = 0; n < kMaxBackupPages; ++n) {
        std::memset(page.get(), 0, sizeof(Flash_Data));
        page->PageNum = static_cast<KX_U16>(n);
        KX_U8 status = KX_Flash_Bin(adapter, KX_FLASH_BACKUP, type, page.get());
        if (status != KX_SUCCESS)
            return status;
        KX_U32 size = page->Size < KX_FLASH_PAGE_BYTES ? page->Size : KX_FLASH_PAGE_BYTES;
        if (!writeAll(file.fd, page->Data, size))
            return kFileError;
        if (page->isLastPage)
            return fsync(file.fd) == 0 ? KX_SUCCESS : kFileError;
    }
    return kFileError;
}

// Sends the whole file as one image of `type`. The last page is the one
// that reaches the file's length, so a file of an exact multiple of the
// page size ends with a full page marked last (not with an empty read).
KX_U8 sendImage(KX_U8 adapter, KX_U8 type, int fd, KX_U32 length)
{
    if (lseek(fd, 0, SEEK_SET) != 0)
        return kFileError;
    KX_FLASH_PER_DATA announce;
    std::memset(&announce, 0, sizeof announce);
    announce.image_type = type;
    announce.image_size = length;
    KX_U8 status = KX_Flash_PreData(adapter, &announce);
    if (status != KX_SUCCESS)
        return status;
    std::unique_ptr<Flash_Data> page(new Flash_Data);
    KX_U32 sent = 0;
    for (KX_U16 n = 0;; ++n) {
        std::memset(page.get(), 0, sizeof(Flash_Data));
        ssize_t got = readFull(fd, page->Data, KX_FLASH_PAGE_BYTES);
        if (got <= 0)
            return kFileError;
        sent += static_cast<KX_U32>(got);
        page->Size = static_cast<KX_U32>(got);
        page->PageNum = n;
        page->isLastPage = sent >= length ? 1 : 0;
        status = KX_Flash_Bin(adapter, KX_FLASH_UPDATE, type, page.get());
        if (status != KX_SUCCESS || page->isLastPage)
            return status;
    }
}

KX_U8 update(KX_U8 adapter, const char *path)
{
    KX_U8 imageType = KX_IMAGE_ANY;
    Version_Info_CIM version;
    KX_U16 subId = 0xFFFF;
    KX_U8 status = KX_Flash_GetHeaderInfo(path, &imageType, &version, &subId);
    if (status != KX_SUCCESS)
        return status;

    Adapter_Info info;
    std::memset(&info, 0, sizeof info);
    KX_U8 count = 1;
    KX_Adapter_GetInfo(adapter, &count, &info);
    if (imageType == KX_IMAGE_RAW && (info.AdvancedFeatures & 0x80000000u)) {
        Adapter_Config_V2 config;
        std::memset(&config, 0, sizeof config);
        count = 1;
        if (KX_Adapter_GetConfig(adapter, &count, &config) == KX_SUCCESS &&
            config.rawimg_update_disabled == 1)
            return kRawRefused;
    }

    FileCloser file{open(path, O_RDONLY)};
    if (file.fd < 0)
        return kFileError;
    struct stat st;
    if (fstat(file.fd, &st) != 0 || st.st_size <= 0 || st.st_size > 0x7FFFFFFF)
        return kFileError;
    KX_U32 length = static_cast<KX_U32>(st.st_size);
    status = sendImage(adapter, imageType, file.fd, length);
    if (status == KX_SUCCESS && imageType == KX_IMAGE_FIRMWARE && (info.AdvancedFeatures2 & 1))
        status = sendImage(adapter, KX_IMAGE_FIRMWARE2, file.fd, length);
    return status;
}
} // namespace

extern "C" KX_U8 KX_Flash_Option(KX_U8 adapter, KX_U8 actions, KX_U8 type, const char *filepath)
{
    if (!filepath || !*filepath)
        return kFileError;
    if (actions == KX_FLASH_BACKUP)
        return backup(adapter, type, filepath);
    if (actions == KX_FLASH_UPDATE)
        return update(adapter, filepath);
    return KX_SUCCESS;
}
