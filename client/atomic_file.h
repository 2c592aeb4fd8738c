/*
 * Files that other programs read while they are replaced (node_exporter's
 * textfile collector, a configuration document a playbook fetches): a
 * reader sees the old file or the new one, never a part, and the new one
 * survives a crash once the call returns.
 */
#ifndef CLIENT_ATOMIC_FILE_H
#define CLIENT_ATOMIC_FILE_H

#include <string>

/* Every byte of text to fd, through short writes and interruptions. */
bool writeAll(int fd, const std::string &text);

/* The text to a temporary file in path's directory, synced, renamed over
   path, the directory synced. On a failure writes "<program>: cannot ..."
   with the reason to standard error, removes the temporary file and
   returns false. */
bool writeFileAtomically(const std::string &path, const std::string &text, const char *program);

#endif /* CLIENT_ATOMIC_FILE_H */
