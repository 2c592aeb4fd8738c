/*
 * The suite's yes/no question, for programs that ask before they change
 * something: the first character of a line answers and the rest of the
 * line is dropped; any other answer is told "Please input y or n." and
 * the next line is read; end of input is no answer, and the caller must
 * not go on (a script has to see that nothing was done).
 *
 * Standard input is read a byte at a time with read(2), so an answer never
 * takes the lines that follow it (a later question, or a document on
 * standard input).
 */
#ifndef CLIENT_QUESTION_H
#define CLIENT_QUESTION_H

#include <stddef.h>
#include <stdio.h>

namespace client {

enum class Answer { Yes, No, End };

/* Writes question (plain text, may be null) to out, then reads the
   answer; the "Please input y or n." lines go to out as well. */
Answer confirm(FILE *out, const char *question);

/* The answer alone; again (may be null) is written after each
   "Please input y or n.". */
Answer readAnswer(FILE *out, const char *again);

/* One typed line read the same way: at most size - 1 bytes of it into
   line, NUL-terminated, without the newline; the rest of a longer line is
   dropped and *truncated set. out is flushed first, so the question shows.
   False when input ended before the line's first byte (an empty line is
   an answer). */
bool readLine(FILE *out, char *line, size_t size, bool *truncated);

} // namespace client

#endif /* CLIENT_QUESTION_H */
