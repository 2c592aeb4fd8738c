#include "Public/confirm.h"

#include <stdarg.h>
#include <stdio.h>

#include "Public/globals.h"
#include "question.h"

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
    switch (client::readAnswer(stream, again)) {
    case client::Answer::Yes:
        return CONFIRM_YES;
    case client::Answer::No:
        return CONFIRM_NO;
    case client::Answer::End:
        break;
    }
    return CONFIRM_EOF;
}

bool readAnswerLine(char *line, size_t size, bool *truncated)
{
    return client::readLine(stream, line, size, truncated);
}
