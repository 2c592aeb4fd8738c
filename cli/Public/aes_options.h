/*
 * Option values of the encryption commands (aesop, aesentry, aesport,
 * forceonline): key entry, port and disk IDs, keys and passwords, and the
 * rule that keeps their lines out of the shell's history.
 */
#ifndef CLI_AES_OPTIONS_H
#define CLI_AES_OPTIONS_H

#include <stddef.h>
#include "kx_types.h"
#include "Public/options.h"

/* Keys and passwords fill 32-byte controller fields. */
#define CLI_AES_TEXT_MAX 32

/* A key or password taken from an option. All 32 characters of a value as
   long as the field reach the controller (zero-padded, no terminator).
   Wiped when it goes out of scope, so no secret stays in the process after
   the command. */
struct AesText {
    KX_U8 bytes[CLI_AES_TEXT_MAX];
    size_t length;

    AesText();
    ~AesText();
    AesText(const AesText &) = delete;
    AesText &operator=(const AesText &) = delete;

    /* The option's value with the shell's double quotes removed. False,
       keeping what it held, when that is longer than 32 characters. */
    bool set(const char *value);
};

/* An ID option: decimal digits or "0x" and hexadecimal digits, at most
   max. */
bool parseAesId(const char *text, unsigned long max, unsigned long *value);

/* Option takers of the encryption commands, with their messages: an ID
   (parseAesId; badIdFormat is a printf format taking the text), a
   password, and a key (which may not be empty). */
OptionTake takeAesId(const char *arg, unsigned long max, const char *badIdFormat, unsigned long &id);
OptionTake takePassword(const char *arg, AesText &password);
OptionTake takeKey(const char *arg, AesText &key);

/* True for a shell line whose first word is one of the commands that take
   keys and passwords (aesop, aesentry, aesport) or a part of one such word
   (the dispatcher takes abbreviations). The shell keeps such lines out of
   its history, with or without a secret in them, mistyped or not. */
bool lineMayHoldSecret(const char *line);

/* Clears memory that held a secret, in a way the compiler cannot drop. */
void wipeSecret(void *p, size_t n);

#endif /* CLI_AES_OPTIONS_H */
