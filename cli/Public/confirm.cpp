#include "Public/confirm.h"

#include <errno.h>
#include <stdarg.h>
#include <stdio.h>
#include <unistd.h>

#include "Public/globals.h"

namespace {

/* One byte of standard input; -1 at its end (or on an error, which
   ends the dialogue the same way). */
int readByte()
{
    unsigned char c;
    for (;;) {
        ssize_t n = read(STDIN_FILENO, &c, 1);
        if (n == 1)
            return c;
        if (n < 0 && errno == EINTR)
            continue;
        return -1;
    }
}

} // namespace

ConfirmAnswer askConfirm(const char *question, ...)
{
    va_list ap;
    va_start(ap, question);
    ConfirmAnswer answer = vaskConfirm(question, ap);
    va_end(ap);
    return answer;
}

ConfirmAnswer vaskConfirm(const char *question, va_list ap)
{
    if (question)
        vfprintf(stream, question, ap);
    return readConfirm(nullptr);
}

ConfirmAnswer askConfirmRepeating(const char *question)
{
    fputs(question, stream);
    return readConfirm(question);
}

ConfirmAnswer readConfirm(const char *again)
{
    for (;;) {
        fflush(stream);
        fflush(stdout);
        int answer = readByte();
        if (answer < 0)
            return CONFIRM_EOF;
        /* Discard the rest of the line; the answer is its first byte. */
        int c = answer;
        while (c != '\n') {
            c = readByte();
            if (c < 0)
                break;
        }
        if (answer == 'y' || answer == 'Y')
            return CONFIRM_YES;
        if (answer == 'n' || answer == 'N')
            return CONFIRM_NO;
        fprintf(stream, "Please input y or n.\n");
        if (c < 0)
            return CONFIRM_EOF;
        if (again)
            fputs(again, stream);
    }
}

bool readAnswerLine(char *line, size_t size, bool *truncated)
{
    fflush(stream);
    fflush(stdout);
    size_t n = 0;
    bool any = false;
    *truncated = false;
    int c;
    while ((c = readByte()) >= 0 && c != '\n') {
        any = true;
        if (n + 1 < size)
            line[n++] = (char)c;
        else
            *truncated = true;
    }
    if (size > 0)
        line[n] = '\0';
    /* An empty line is an answer too; only input that ended is none. */
    return any || c == '\n';
}
