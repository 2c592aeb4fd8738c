#include "Public/ssd_module.h"

#include <stdlib.h>
#include <string.h>

#include "Public/globals.h"

namespace {

/* The identification sector: the model text from data byte 0, the
   firmware version at this data offset. */
const size_t kFirmwareOffset = 64;
const size_t kFirmwareBytes = 8;
/* Bytes of the identification text that take part in the signature. */
const size_t kSignatureBytes = 13;
const KX_U8 kNoSuchDisk = 55;

} // namespace

SsdBuffer::SsdBuffer(unsigned sectors)
    : m_sectors(sectors),
      m_buf(static_cast<KX_U8 *>(calloc(1, KX_SSD_HEADER_BYTES + sectors * (size_t)KX_SSD_SECTOR_BYTES + 4)))
{
}

SsdBuffer::~SsdBuffer() { free(m_buf); }

KX_U32 SsdBuffer::word(size_t i) const
{
    KX_U32 v;
    memcpy(&v, m_buf + KX_SSD_HEADER_BYTES + 4 * i, sizeof v);
    return v;
}

void SsdBuffer::setWord(size_t i, KX_U32 v) { memcpy(m_buf + KX_SSD_HEADER_BYTES + 4 * i, &v, sizeof v); }

KX_U8 ssdDiagnostic(KX_U16 device, KX_U8 code, KX_U8 direction, KX_U32 number, SsdBuffer *buf, KX_U8 *done)
{
    KX_U8 finished = 0;
    KX_U8 st = KX_SSD_Diagnostic(gCurrentAdapter, device, code, direction, number,
                                 buf ? (KX_U16)buf->sectors() : 0, buf ? buf->buffer() : nullptr, &finished);
    if (done)
        *done = finished;
    return st;
}

KX_U8 ssdIdentify(KX_U16 device, bool *isKorvex, KX_U8 firmware[8])
{
    SsdBuffer buf(1);
    if (!buf.ok())
        return KX_ST_NO_RESOURCE;
    KX_U8 st = ssdDiagnostic(device, SSD_ACT_IDENTIFY, KX_SSD_READ, 0, &buf);
    if (st != 0)
        return st;
    char text[kSignatureBytes + 1];
    memcpy(text, buf.data(), kSignatureBytes);
    text[kSignatureBytes] = '\0';
    *isKorvex = strcmp(text, "Korvex SSD") == 0;
    if (firmware)
        memcpy(firmware, buf.data() + kFirmwareOffset, kFirmwareBytes);
    return 0;
}

bool isKorvexSsd(KX_U16 device)
{
    bool korvex = false;
    return ssdIdentify(device, &korvex, nullptr) == 0 && korvex;
}

KX_U8 pageThroughList(size_t recordSize, const std::function<KX_U8(RequestHeader *page)> &call,
                      const std::function<void(const void *record)> &each)
{
    const KX_U16 maxKiB = gAdapterInfo[gCurrentAdapter].MaxBufferSize;
    unsigned perPage = maxKiB ? (maxKiB * 1024u - sizeof(RequestHeader)) / recordSize : 128;
    if (perPage == 0)
        perPage = 1;
    const size_t bytes = sizeof(RequestHeader) + perPage * recordSize;
    char *buf = static_cast<char *>(calloc(1, bytes));
    if (!buf)
        return KX_ST_NO_RESOURCE;
    RequestHeader *hdr = reinterpret_cast<RequestHeader *>(buf);
    KX_U8 st = 0;
    KX_U16 start = 0;
    for (;;) {
        memset(buf, 0, bytes);
        hdr->requestType = KX_REQUEST_BY_INDEX;
        hdr->startingIndexOrId = start;
        hdr->numRequested = (KX_U16)perPage;
        st = call(hdr);
        if (st != 0)
            break;
        const unsigned n = hdr->numReturned < perPage ? hdr->numReturned : perPage;
        for (unsigned i = 0; i < n; ++i)
            each(buf + sizeof(RequestHeader) + i * recordSize);
        /* A page without records would ask for the same page again. */
        if (hdr->nextStartingIndex == KX_END_OF_LIST || n == 0)
            break;
        start = hdr->nextStartingIndex;
    }
    free(buf);
    return st;
}

KX_U8 listDiskIds(std::vector<KX_U16> &ids)
{
    return pageThroughList(
        sizeof(HD_Info),
        [](RequestHeader *page) {
            const RequestHeader asked = *page;
            KX_U8 st = KX_PD_GetHDInfo_Ext(gCurrentAdapter, reinterpret_cast<HD_Info_Request *>(page));
            if (st == 0 || st == kNoSuchDisk)
                return st;
            *page = asked;
            return KX_PD_GetHDInfo(gCurrentAdapter, reinterpret_cast<HD_Info_Request *>(page));
        },
        [&](const void *rec) {
            HD_Info info;
            memcpy(&info, rec, sizeof info);
            ids.push_back(info.Link.Self.DevID);
        });
}
