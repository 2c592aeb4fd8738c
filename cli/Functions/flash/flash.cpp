// flash -a update|backup|erase|version: moves flash images between files
// and an adapter, erases flash pages and shows the version of an image
// file.
#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <unistd.h>

#include "Functions/handlers.h"
#include "Public/confirm.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/fileio.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "Public/options.h"
#include "Public/utils.h"
#include "kx_api.h"

namespace {

struct Word {
    const char *word;
    KX_U8 code;
};

const Word kActions[] = {
    {"update", KX_FLASH_UPDATE}, {"backup", KX_FLASH_BACKUP}, {"erase", KX_FLASH_ERASE}, {"version", KX_FLASH_VERSION},
};
const Word kTypes[] = {
    {"bios", KX_IMAGE_BIOS}, {"firmware", KX_IMAGE_FIRMWARE}, {"config", KX_IMAGE_CONFIG},
    {"bin", KX_IMAGE_BIN},   {"autoload", KX_IMAGE_AUTOLOAD}, {"raw", KX_IMAGE_RAW},
};
const Word kPages[] = {{"pd", 1}, {"pdforce", 254}};

template <size_t N>
bool lookUp(const Word (&words)[N], const char *text, KX_U8 &code)
{
    for (const Word &w : words)
        if (strcasecmp(w.word, text) == 0) {
            code = w.code;
            return true;
        }
    return false;
}

/* Room for a path name; a longer one is refused rather than cut, since a
   shortened name would read or write another file. */
const size_t kFileNameRoom = 4096;
/* Pages are numbered in 16 bits. */
const off_t kMaxImageBytes = static_cast<off_t>(65536) * KX_FLASH_PAGE_BYTES;
const KX_U32 kFeatureRawNeedsConfig = 0x80000000u; /* AdvancedFeatures */
const KX_U32 kFeature2WriteFirmwareTwice = 0x01;   /* AdvancedFeatures2 */
const KX_U32 kFeature2NoFlash = 0x08;              /* AdvancedFeatures2 */

/* A value starting with a double quote (as the shell line leaves it) is
   the text up to the next double quote. False when it does not fit. */
bool copyFileName(char *out, size_t room, const char *value)
{
    const char *from = value;
    size_t n = strlen(value);
    if (value[0] == '"') {
        from = value + 1;
        const char *close = strchr(from, '"');
        n = close ? static_cast<size_t>(close - from) : strlen(from);
    }
    if (n + 1 > room)
        return false;
    memcpy(out, from, n);
    out[n] = '\0';
    return true;
}

struct FlashOptions {
    KX_U8 action = 0;
    KX_U8 type = KX_IMAGE_BIOS;
    KX_U8 page = 1;
    KX_U8 adapter = 0;
    char file[kFileNameRoom] = "";
    bool typeGiven = false, pageGiven = false;
    const char *adapterText = nullptr;
};

/* Returns -1 when the command goes on, else the handler's result. */
int parseOptions(int argc, char **argv, cmd_struct *pCmdInfo, FlashOptions &o)
{
    static const cli::option longopts[] = {
        {"action", cli::kRequiredArgument, nullptr, 'a'},
        {"file", cli::kRequiredArgument, nullptr, 'f'},
        {"type", cli::kRequiredArgument, nullptr, 't'},
        {"page", cli::kRequiredArgument, nullptr, 'p'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    int counts[128] = {};
    int r = runOptionLoop(argc, argv, pCmdInfo, "a:f:t:p:i:\x01:h", longopts, false, counts,
                          [&](int opt, const char *arg) {
                              switch (opt) {
                              case 'a':
                                  if (!lookUp(kActions, arg, o.action)) {
                                      fprintf(stream, "-a : invalid action '%s'.\n", arg);
                                      return OPT_REFUSED;
                                  }
                                  return OPT_TAKEN;
                              case 'f':
                                  if (!copyFileName(o.file, sizeof o.file, arg)) {
                                      fprintf(stream, "-f : file name is too long.\n");
                                      return OPT_REFUSED;
                                  }
                                  return OPT_TAKEN;
                              case 't':
                                  if (!lookUp(kTypes, arg, o.type)) {
                                      fprintf(stream, "-t : invalid type '%s'.\n", arg);
                                      return OPT_REFUSED;
                                  }
                                  return OPT_TAKEN;
                              case 'p':
                                  if (!lookUp(kPages, arg, o.page)) {
                                      fprintf(stream, "-p : invalid flash page '%s'.\n", arg);
                                      return OPT_REFUSED;
                                  }
                                  return OPT_TAKEN;
                              case 'i':
                                  if (!*arg || !isNumber(arg)) {
                                      fprintf(stream, "-i : invalid adapter id '%s'.\n", arg);
                                      return OPT_REFUSED;
                                  }
                                  o.adapterText = arg;
                                  return OPT_TAKEN;
                              default:
                                  return OPT_HELP;
                              }
                          });
    if (r >= 0)
        return r;
    o.typeGiven = counts['t'] > 0;
    o.pageGiven = counts['p'] > 0;
    if (!counts['a'] || (!o.typeGiven && !o.pageGiven) || (!counts['f'] && o.action != KX_FLASH_ERASE)) {
        fprintf(stream, OptionRequired, pCmdInfo->cmd,
                !counts['a'] ? 'a' : !o.typeGiven && !o.pageGiven ? 't' : 'f');
        return 1;
    }
    o.adapter = gCurrentAdapter;
    if (o.adapterText) {
        /* The adapter table holds only the adapters found. */
        const size_t digits = strlen(o.adapterText);
        const unsigned long id = digits > 3 ? CLI_MAX_ADAPTERS : strtoul(o.adapterText, nullptr, 10);
        if (id >= gNumAdaptersFound) {
            fprintf(stream, "Adapter %s does not exist.\n", o.adapterText);
            return 1;
        }
        o.adapter = static_cast<KX_U8>(id);
    }
    return -1;
}

/* The descriptor of the image file, closed on every path. */
class OpenFile {
public:
    explicit OpenFile(int fd) : m_fd(fd) {}
    ~OpenFile()
    {
        if (m_fd >= 0)
            CloseFileInCLI(m_fd);
    }
    OpenFile(const OpenFile &) = delete;
    OpenFile &operator=(const OpenFile &) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

/* One page buffer, released on every path. */
class PageBuffer {
public:
    PageBuffer() : m_page(static_cast<Flash_Data *>(calloc(1, sizeof(Flash_Data)))) {}
    ~PageBuffer() { free(m_page); }
    PageBuffer(const PageBuffer &) = delete;
    PageBuffer &operator=(const PageBuffer &) = delete;
    Flash_Data *get() const { return m_page; }

private:
    Flash_Data *m_page;
};

/* A flash update on a terminal rewrites one progress line instead of a
   line per page; into a pipe or a file the page lines stand. */
class Progress {
public:
    Progress() : m_onTerminal(stream == stdout && isatty(STDOUT_FILENO)) {}
    void start(unsigned pages, bool again)
    {
        m_pages = pages;
        m_again = again;
        if (m_onTerminal)
            show(0);
    }
    void writing(unsigned page) const
    {
        if (!m_onTerminal)
            fprintf(stream, m_again ? "page %d write to device again.\n" : "page %d write to device.\n", page);
    }
    void written(unsigned page)
    {
        if (m_onTerminal)
            show(page + 1);
    }
    /* Ends the progress line before any other text. */
    void end()
    {
        if (m_open)
            fputc('\n', stream);
        m_open = false;
    }

private:
    void show(unsigned done)
    {
        fprintf(stream, "\r%u of %u pages written to device%s.", done, m_pages, m_again ? " again" : "");
        fflush(stream);
        m_open = true;
    }
    bool m_onTerminal;
    bool m_open = false;
    bool m_again = false;
    unsigned m_pages = 0;
};

/* Sends the whole file as one image of this type: announced with its
   length once the first page is in hand (so an empty file is reported as
   unreadable, not as a refused image), then page by page. */
int sendImage(const FlashOptions &o, int fd, off_t length, KX_U8 type, Flash_Data *page, bool again)
{
    Progress progress;
    progress.start(static_cast<unsigned>((length + KX_FLASH_PAGE_BYTES - 1) / KX_FLASH_PAGE_BYTES), again);
    off_t position = 0;
    for (unsigned n = 0;; ++n) {
        memset(page, 0, sizeof *page);
        size_t want = KX_FLASH_PAGE_BYTES;
        if (length - position < static_cast<off_t>(want))
            want = static_cast<size_t>(length - position);
        size_t got = 0;
        ReadFromFile(fd, page->Data, want, &got);
        if (got == 0) {
            progress.end();
            fprintf(stream, "Unable to read from file %s\n", o.file);
            return 1;
        }
        position += static_cast<off_t>(got);
        page->Size = static_cast<KX_U32>(got);
        page->PageNum = static_cast<KX_U16>(n);
        page->isLastPage = position >= length ? 1 : 0;
        if (n == 0) {
            KX_FLASH_PER_DATA announce;
            memset(&announce, 0, sizeof announce);
            announce.image_type = type;
            announce.image_size = static_cast<KX_U32>(length);
            const KX_U8 st = KX_Flash_PreData(o.adapter, &announce);
            if (st != 0) {
                progress.end();
                fprintf(stream, "\nFailed to update file '%s', error %d: %s\n", o.file, st, ErrorMessage(st));
                return st;
            }
        }
        progress.writing(n);
        const KX_U8 st = KX_Flash_Bin(o.adapter, KX_FLASH_UPDATE, type, page);
        if (st != 0) {
            progress.end();
            fprintf(stream, "\nFailed to update file '%s', error %d: %s\n", o.file, st, ErrorMessage(st));
            return st;
        }
        progress.written(n);
        if (page->isLastPage) {
            progress.end();
            return 0;
        }
    }
}

int update(FlashOptions &o)
{
    int fd = -1;
    if (OpenFileInCLI(o.file, sizeof o.file, &fd, 0) != 0) {
        fprintf(stream, "Unable to open file '%s'.\n", o.file);
        return 1;
    }
    OpenFile file(fd);
    const Adapter_Info &info = gAdapterInfo[o.adapter];
    if (o.type == KX_IMAGE_RAW && (info.AdvancedFeatures & kFeatureRawNeedsConfig)) {
        Adapter_Config_V2 config;
        memset(&config, 0, sizeof config);
        KX_U8 count = 0;
        const KX_U8 st = KX_Adapter_GetConfig(o.adapter, &count, &config);
        if (st != 0) {
            fprintf(stream, "\nFailed to update file '%s', error %d: %s\n", o.file, st, ErrorMessage(st));
            return st;
        }
        if (config.rawimg_update_disabled == 1) {
            fprintf(stream, "\nFail to update file '%s' since raw image format is not supported.\n", o.file);
            return 1;
        }
    }
    const off_t length = GetFileLen(fd);
    if (length < 0) {
        fprintf(stream, "Unable to read from file %s\n", o.file);
        return 1;
    }
    if (length > kMaxImageBytes) {
        const KX_U8 st = KX_ST_OUT_OF_RANGE;
        fprintf(stream, "\nFailed to update file '%s', error %d: %s\n", o.file, st, ErrorMessage(st));
        return st;
    }
    PageBuffer page;
    if (!page.get()) {
        fprintf(stream, "Unable to allocate buffer for %d bytes (error %d: %s).\n", (int)sizeof(Flash_Data), KX_ST_NO_RESOURCE,
                ErrorMessage(KX_ST_NO_RESOURCE));
        return KX_ST_NO_RESOURCE;
    }
    int rc = sendImage(o, fd, length, o.type, page.get(), false);
    if (rc == 0 && o.type == KX_IMAGE_FIRMWARE && (info.AdvancedFeatures2 & kFeature2WriteFirmwareTwice)) {
        FileSeek(fd, 0, SEEK_SET);
        rc = sendImage(o, fd, length, KX_IMAGE_FIRMWARE2, page.get(), true);
    }
    if (rc == 0)
        fprintf(stream, "Flash command is returned successfully.\n");
    return rc;
}

int backup(FlashOptions &o)
{
    int fd = -1;
    /* Created with O_CREAT|O_EXCL: an existing file, or a symbolic link
       even to nothing, is never opened and stays as it is. */
    const int opened = OpenFileInCLI(o.file, sizeof o.file, &fd, 1);
    if (opened == 2) {
        fprintf(stream, "File '%s' has already existed.\n", o.file);
        return 1;
    }
    if (opened != 0) {
        fprintf(stream, "Unable to create file '%s'.\n", o.file);
        return 1;
    }
    OpenFile file(fd);
    PageBuffer buffer;
    Flash_Data *page = buffer.get();
    int rc = page ? 0 : KX_ST_NO_RESOURCE;
    if (!page)
        fprintf(stream, "Unable to allocate buffer for %d bytes (error %d: %s).\n", (int)sizeof(Flash_Data), KX_ST_NO_RESOURCE,
                ErrorMessage(KX_ST_NO_RESOURCE));
    for (unsigned n = 0; rc == 0; ++n) {
        memset(page, 0, sizeof *page);
        page->PageNum = static_cast<KX_U16>(n);
        KX_U8 st = KX_Flash_Bin(o.adapter, KX_FLASH_BACKUP, o.type, page);
        /* A page that claims more than it holds, or an image that never
           ends, is bad data from the controller. */
        if (st == 0 && (page->Size > KX_FLASH_PAGE_BYTES || (!page->isLastPage && n == 0xFFFF)))
            st = 184; /* Invalid flash buffer data */
        if (st != 0) {
            fprintf(stream, "\nFailed to flash (error %d: %s).\n", st, ErrorMessage(st));
            rc = st;
            break;
        }
        fprintf(stream, "page %d write to file.\n", n);
        if (WriteToFile(fd, page->Data, page->Size) != 0 || (page->isLastPage && fsync(fd) != 0)) {
            fprintf(stream, "Unable to write to file '%s'.\n", o.file);
            rc = 1;
            break;
        }
        if (page->isLastPage)
            break;
    }
    if (rc != 0) {
        /* A partial image must not pass for a backup; the file is ours,
           created above. */
        unlink(o.file);
        return rc;
    }
    fprintf(stream, "Flash command is returned successfully.\n");
    return 0;
}

int erase(const FlashOptions &o)
{
    if (o.pageGiven) {
        const KX_U8 st = KX_Flash_Erase(o.adapter, o.page);
        if (st != 0) {
            fprintf(stream, "\nFailed to erase flash PD page (error %d: %s).\n", st, ErrorMessage(st));
            return st;
        }
        fprintf(stream, "Erase PD Page command is returned successfully.\n");
        return 0;
    }
    switch (askConfirm("Do you want to erase ROM file in Flash?  (y or n)\n")) {
    case CONFIRM_NO:
        return 0;
    case CONFIRM_EOF:
        return 1;
    case CONFIRM_YES:
        break;
    }
    PageBuffer buffer;
    Flash_Data *page = buffer.get();
    if (!page) {
        fprintf(stream, "Unable to allocate buffer for %d bytes (error %d: %s).\n", (int)sizeof(Flash_Data), KX_ST_NO_RESOURCE,
                ErrorMessage(KX_ST_NO_RESOURCE));
        return KX_ST_NO_RESOURCE;
    }
    page->Size = KX_FLASH_PAGE_BYTES;
    const KX_U8 st = KX_Flash_Bin(o.adapter, KX_FLASH_ERASE, o.type, page);
    if (st != 0) {
        fprintf(stream, "\nFailed to erase (error %d: %s).\n", st, ErrorMessage(st));
        return st;
    }
    fprintf(stream, "Erase bios command is returned successfully.\n");
    return 0;
}

int version(FlashOptions &o)
{
    /* A name the expansion refuses is asked for as it stands. */
    process_filename(o.file, sizeof o.file);
    KX_U8 type = 255;
    KX_U16 subId = KX_ID_NONE;
    Version_Info_CIM v;
    memset(&v, 0, sizeof v);
    const KX_U8 st = KX_Flash_GetHeaderInfo(o.file, &type, &v, &subId);
    if (st != 0) {
        fprintf(stream, "\nFailed to check version of file '%s', error %d: %s\n", o.file, st, ErrorMessage(st));
        return st;
    }
    if (o.typeGiven && type != o.type) {
        fprintf(stream,
                "\nImage type sepecified by '-t' is not the same as type get from file. type from '-t': %d, type "
                "from file: %d\n",
                o.type, type);
        return 1;
    }
    fprintf(stream, fmt_Num, 18, "major version:", (long)v.MajorVersion);
    fprintf(stream, fmt_Num, 18, "minor version:", (long)v.MinorVersion);
    fprintf(stream, fmt_Num, 18, "revision number:", (long)v.RevisionNumber);
    fprintf(stream, fmt_Num, 18, "build number:", (long)v.BuildNumber);
    char hex[8];
    snprintf(hex, sizeof hex, "%x", subId);
    fprintf(stream, fmt_Str, 18, "Sub Verndor ID:", hex);
    return 0;
}

} // namespace

int doFlash(int argc, char **argv, cmd_struct *pCmdInfo)
{
    FlashOptions o;
    const int rc = parseOptions(argc, argv, pCmdInfo, o);
    if (rc >= 0)
        return rc;
    if (gAdapterInfo[o.adapter].AdvancedFeatures2 & kFeature2NoFlash) {
        fprintf(stream, "Flash operation is not supported\n");
        return 1;
    }
    switch (o.action) {
    case KX_FLASH_UPDATE:
        return update(o);
    case KX_FLASH_BACKUP:
        return backup(o);
    case KX_FLASH_ERASE:
        return erase(o);
    default:
        return version(o);
    }
}
