/*
 * File routines of the flash and firmware commands.
 */
#ifndef CLI_FILEIO_H
#define CLI_FILEIO_H

#include <stddef.h>
#include <sys/types.h>

/* Expands a file name as the shell would (tilde, variables, quotes) and
   writes the result back into filename (size bytes): the first word, then
   each further word after as many blanks as separated the words in the
   input, so names with blanks survive. Command substitution ("$(...)",
   backquotes) is refused, never run. Returns 0, or -1 when the name is
   refused, expands to nothing or the result does not fit (filename is
   then unchanged). */
int process_filename(char *filename, size_t size);

/* Returns 0 without doing anything when a pointer is missing. Expands
   filename in place (size bytes, see process_filename). openFlag 1:
   creates the file for reading and writing, mode 0644, failing when it
   exists: 2 when it exists, 1 on any other failure, 0 on success.
   Otherwise opens it read-only: 1 on failure, 0 on success. The
   descriptor is stored through handle. */
int OpenFileInCLI(char *filename, size_t size, int *handle, int openFlag);
/* Length of the file; the position is left unchanged. -1 on failure. */
off_t GetFileLen(int fd);
off_t FileSeek(int fd, off_t offset, int whence);
/* Reads up to length bytes, stores the count (0 on failure); returns 0. */
int ReadFromFile(int fd, void *buffer, size_t length, size_t *count);
/* 1 when fewer than size bytes were written, else 0. */
int WriteToFile(int fd, const void *data, size_t size);
void CloseFileInCLI(int fd);

#endif /* CLI_FILEIO_H */
