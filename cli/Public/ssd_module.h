/*
 * The maker's SSDs as the ssd and ssdop commands reach them: transfer
 * buffers of the diagnostic calls, the identification read and the disk
 * list of the current adapter.
 */
#ifndef CLI_SSD_MODULE_H
#define CLI_SSD_MODULE_H

#include <stddef.h>
#include <functional>
#include <vector>

#include "kx_api.h"

/* Action codes of KX_SSD_Diagnostic that both commands send. */
#define SSD_ACT_SET_RATIO 17
#define SSD_ACT_READ_MFG 246
#define SSD_ACT_IDENTIFY 255

/* Manufacturing record: two sectors; the user space ratio (u16) lies at
   this data offset. */
#define SSD_MFG_SECTORS 2
#define SSD_MFG_RATIO 216

/* The transfer buffer of one diagnostic call: a 16-byte header and
   `sectors` sectors of 512 bytes, all zero, with 4 spare bytes so that a
   word read at the very end stays inside. ok() is false when the memory
   could not be had. */
class SsdBuffer {
public:
    explicit SsdBuffer(unsigned sectors);
    ~SsdBuffer();
    SsdBuffer(const SsdBuffer &) = delete;
    SsdBuffer &operator=(const SsdBuffer &) = delete;

    bool ok() const { return m_buf != nullptr; }
    KX_U8 *buffer() { return m_buf; }
    KX_U8 *data() { return m_buf + KX_SSD_HEADER_BYTES; }
    size_t dataBytes() const { return m_sectors * (size_t)KX_SSD_SECTOR_BYTES; }
    unsigned sectors() const { return m_sectors; }
    /* Data word i, little-endian (i below dataBytes() / 4). */
    KX_U32 word(size_t i) const;
    void setWord(size_t i, KX_U32 v);

private:
    unsigned m_sectors;
    KX_U8 *m_buf;
};

/* KX_SSD_Diagnostic on the current adapter with buf's sectors (none when
   buf is null); *done receives the completion flag when given. */
KX_U8 ssdDiagnostic(KX_U16 device, KX_U8 code, KX_U8 direction, KX_U32 number, SsdBuffer *buf,
                    KX_U8 *done = nullptr);

/* The identification read (action 255, one sector). Returns the status;
   on success *isKorvex tells whether the text, cut after its 13th byte,
   is "Korvex SSD", and firmware (when not null) receives the 8-byte
   firmware version. */
KX_U8 ssdIdentify(KX_U16 device, bool *isKorvex, KX_U8 firmware[8]);
/* The signature test: the identification read succeeds and names one of
   the maker's SSDs. */
bool isKorvexSsd(KX_U16 device);

/* A whole list of the current adapter, page by page from index 0: pages
   of as many records of recordSize as MaxBufferSize KiB hold (128 when it
   is 0). call fills a page whose header is set up and returns the status;
   each receives every record returned. Returns the first failing status
   (the records of the pages before it are handed on), else 0. */
KX_U8 pageThroughList(size_t recordSize, const std::function<KX_U8(RequestHeader *page)> &call,
                      const std::function<void(const void *record)> &each);

/* Every disk ID of the current adapter, page by page: the extended disk
   list, or the older one when the adapter refuses the extended call with
   any status but 55 (no such disk). A failing page ends the list; the IDs
   of the pages before stay in ids. Returns the last list status. */
KX_U8 listDiskIds(std::vector<KX_U16> &ids);

#endif /* CLI_SSD_MODULE_H */
