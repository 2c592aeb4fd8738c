/*
 * The yes/no question of the commands that change or destroy something.
 */
#ifndef CLI_CONFIRM_H
#define CLI_CONFIRM_H

#include <stdarg.h>
#include <stddef.h>

enum ConfirmAnswer {
    CONFIRM_YES, /* "y" or "Y": go on */
    CONFIRM_NO,  /* "n" or "N": end without a change */
    CONFIRM_EOF  /* input ended before an answer: end without a change */
};

/*
 * Writes question (a format, may be NULL) to stream and reads answers from
 * standard input: the first character of a line is the answer and the rest
 * of the line is discarded; any other answer writes "Please input y or n.\n"
 * and reads the next line. Only "y"/"Y" goes on. At end of input nothing
 * more can be asked, so the command must not go on: commands end with
 * status 1 then (their "n" status says the user declined; end of input is
 * no answer at all, and a script must see that nothing was done).
 *
 * Standard input is read a byte at a time with read(2), as the shell's
 * line reader does, so an answer never takes the lines that follow it.
 */
ConfirmAnswer askConfirm(const char *question, ...) __attribute__((format(printf, 1, 2)));
ConfirmAnswer vaskConfirm(const char *question, va_list ap) __attribute__((format(printf, 1, 0)));
/* The same, but an answer other than y or n is followed by the question
   again (a plain text, not a format), for the questions before a whole
   volume is destroyed. */
ConfirmAnswer askConfirmRepeating(const char *question);
/* The answers alone: again (may be NULL) is written after each
   "Please input y or n.\n". */
ConfirmAnswer readConfirm(const char *again);

/*
 * Reads one line of standard input the same way (a byte at a time) for a
 * typed answer: at most size - 1 bytes of it into line, NUL-terminated,
 * without the newline; the rest of a longer line is discarded and
 * *truncated set. Returns false when input ended before the line's first
 * byte.
 */
bool readAnswerLine(char *line, size_t size, bool *truncated);

#endif
