#include "question.h"

#include <errno.h>
#include <unistd.h>

namespace client {

namespace {

/* One byte of standard input; -1 at its end, or on an error, which ends
   the dialogue the same way. */
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

Answer confirm(FILE *out, const char *question)
{
    if (question)
        fputs(question, out);
    return readAnswer(out, nullptr);
}

Answer readAnswer(FILE *out, const char *again)
{
    for (;;) {
        fflush(out);
        fflush(stdout);
        const int answer = readByte();
        if (answer < 0)
            return Answer::End;
        int c = answer;
        while (c != '\n' && c >= 0)
            c = readByte();
        if (answer == 'y' || answer == 'Y')
            return Answer::Yes;
        if (answer == 'n' || answer == 'N')
            return Answer::No;
        fputs("Please input y or n.\n", out);
        if (c < 0)
            return Answer::End;
        if (again)
            fputs(again, out);
    }
}

bool readLine(FILE *out, char *line, size_t size, bool *truncated)
{
    fflush(out);
    fflush(stdout);
    size_t n = 0;
    bool any = false;
    *truncated = false;
    int c;
    while ((c = readByte()) >= 0 && c != '\n') {
        any = true;
        if (n + 1 < size)
            line[n++] = static_cast<char>(c);
        else
            *truncated = true;
    }
    if (size > 0)
        line[n] = '\0';
    return any || c == '\n';
}

} // namespace client
