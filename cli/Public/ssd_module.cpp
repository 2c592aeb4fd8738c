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
        return 4;
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

KX_U8 listDiskIds(std::vector<KX_U16> &ids)
{
    const KX_U16 maxKiB = gAdapterInfo[gCurrentAdapter].MaxBufferSize;
    unsigned perPage = maxKiB ? (maxKiB * 1024u - sizeof(RequestHeader)) / sizeof(HD_Info) : 128;
    if (perPage == 0)
        perPage = 1;
    const size_t bytes = sizeof(RequestHeader) + perPage * sizeof(HD_Info);
    HD_Info_Request *req = static_cast<HD_Info_Request *>(calloc(1, bytes));
    if (!req)
        return 4;
    KX_U8 st = 0;
    KX_U16 start = 0;
    for (;;) {
        memset(req, 0, bytes);
        req->header.requestType = KX_REQUEST_BY_INDEX;
        req->header.startingIndexOrId = start;
        req->header.numRequested = (KX_U16)perPage;
        st = KX_PD_GetHDInfo_Ext(gCurrentAdapter, req);
        if (st != 0 && st != kNoSuchDisk) {
            memset(req, 0, bytes);
            req->header.requestType = KX_REQUEST_BY_INDEX;
            req->header.startingIndexOrId = start;
            req->header.numRequested = (KX_U16)perPage;
            st = KX_PD_GetHDInfo(gCurrentAdapter, req);
        }
        if (st != 0)
            break;
        const unsigned n = req->header.numReturned < perPage ? req->header.numReturned : perPage;
        const HD_Info *recs = reinterpret_cast<const HD_Info *>(reinterpret_cast<const char *>(req) + sizeof(RequestHeader));
        for (unsigned i = 0; i < n; ++i)
            ids.push_back(recs[i].Link.Self.DevID);
        /* A page without records would ask for the same page again. */
        if (req->header.nextStartingIndex == KX_END_OF_LIST || n == 0)
            break;
        start = req->header.nextStartingIndex;
    }
    free(req);
    return st;
}
