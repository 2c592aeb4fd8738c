#include "Public/fileio.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <unistd.h>
#include <wordexp.h>
#include <string>
#include <vector>

namespace {

/* Lengths of the runs of unquoted blanks between the words of a name, in
   order, so that the expanded words can be joined the way they were
   typed. */
std::vector<size_t> blankRuns(const char *name)
{
    std::vector<size_t> runs;
    char quote = 0;
    size_t run = 0;
    bool inWord = false;
    for (const char *p = name; *p; ++p) {
        const char c = *p;
        if (quote) {
            if (c == '\\' && quote == '"' && p[1]) {
                ++p;
            } else if (c == quote) {
                quote = 0;
            }
            continue;
        }
        if (c == ' ' || c == '\t') {
            if (inWord)
                ++run;
            continue;
        }
        if (run && inWord)
            runs.push_back(run);
        run = 0;
        inWord = true;
        if (c == '\\' && p[1])
            ++p;
        else if (c == '"' || c == '\'')
            quote = c;
    }
    return runs;
}

} // namespace

int process_filename(char *filename, size_t size)
{
    if (!filename || size == 0)
        return -1;
    /* Arithmetic expansion has no place in a file name, and glibc's
       wordexp dereferences a null pointer on some of it ("$[ $@"): such a
       name is refused before it gets there. */
    if (strstr(filename, "$[") || strstr(filename, "$(("))
        return -1;
    /* WRDE_NOCMD: a file name is data. "$(...)" or a backquote makes
       wordexp fail with WRDE_CMDSUB instead of running anything. */
    wordexp_t words;
    memset(&words, 0, sizeof words);
    if (wordexp(filename, &words, WRDE_NOCMD) != 0) {
        wordfree(&words);
        return -1;
    }
    if (words.we_wordc == 0) {
        wordfree(&words);
        return -1;
    }
    const std::vector<size_t> runs = blankRuns(filename);
    std::string joined = words.we_wordv[0];
    for (size_t i = 1; i < words.we_wordc; ++i) {
        /* Words that came from a variable have no typed separator. */
        joined.append(i - 1 < runs.size() ? runs[i - 1] : 1, ' ');
        joined += words.we_wordv[i];
    }
    wordfree(&words);
    if (joined.size() + 1 > size)
        return -1;
    memcpy(filename, joined.c_str(), joined.size() + 1);
    return 0;
}

int OpenFileInCLI(char *filename, size_t size, int *handle, int openFlag)
{
    if (!filename || !handle)
        return 0;
    if (process_filename(filename, size) != 0)
        return 1;
    int fd;
    if (openFlag == 1) {
        fd = open(filename, O_RDWR | O_CREAT | O_EXCL, 0644);
        if (fd < 0)
            return errno == EEXIST ? 2 : 1;
    } else {
        fd = open(filename, O_RDONLY);
        if (fd < 0)
            return 1;
    }
    *handle = fd;
    return 0;
}

off_t GetFileLen(int fd)
{
    const off_t here = lseek(fd, 0, SEEK_CUR);
    if (here < 0)
        return -1;
    const off_t end = lseek(fd, 0, SEEK_END);
    lseek(fd, here, SEEK_SET);
    return end;
}

off_t FileSeek(int fd, off_t offset, int whence) { return lseek(fd, offset, whence); }

int ReadFromFile(int fd, void *buffer, size_t length, size_t *count)
{
    ssize_t n;
    do {
        n = read(fd, buffer, length);
    } while (n < 0 && errno == EINTR);
    if (count)
        *count = n < 0 ? 0 : static_cast<size_t>(n);
    return 0;
}

int WriteToFile(int fd, const void *data, size_t size)
{
    const char *p = static_cast<const char *>(data);
    size_t done = 0;
    while (done < size) {
        ssize_t n = write(fd, p + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return 1;
        done += static_cast<size_t>(n);
    }
    return 0;
}

void CloseFileInCLI(int fd) { close(fd); }
