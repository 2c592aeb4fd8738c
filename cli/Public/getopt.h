/*
 * The option parser of arrayctl's handlers: getopt_long as the handlers
 * know it, kept in namespace cli so that it never collides with the C
 * library's getopt state.
 *
 * How it differs from the C library's parser, and why handlers rely on it:
 *  - Every call starts at argv[optind]; there is no position kept inside an
 *    argument. So one argument carries one option letter plus that
 *    letter's own argument ("-r5", "-d 0,2,4"). A grouped argument such as
 *    "-fh" yields its first letter once and the rest is dropped.
 *  - Setting optind to 1 starts a new argument vector (every handler does
 *    this first); optind 0 also re-reads the ordering mode.
 *  - The "-output" word that start-up rewrote to "-\x01utput" is returned
 *    as option code 1 with the argument "utput", which handlers ignore.
 *  - Diagnostics go to standard error, never to the output stream.
 *  - There is no "-W" escape.
 */
#ifndef CLI_GETOPT_H
#define CLI_GETOPT_H

namespace cli {

/* has_arg values of an option row */
constexpr int kNoArgument = 0;
constexpr int kRequiredArgument = 1;
constexpr int kOptionalArgument = 2;

struct option {
    const char *name; /* nullptr ends the table */
    int has_arg;
    int *flag;        /* where to store val, or nullptr to return it */
    int val;
};

extern int optind;   /* next argument to look at; 1 at start */
extern int opterr;   /* nonzero: print diagnostics */
extern int optopt;   /* option character of the last error (0 for long options) */
extern char *optarg; /* argument of the option just returned, or nullptr */

/* Return the option character (or val of a long option, or 0 after storing
   val through flag), 1 for a non-option in return-in-order mode ("-"
   leading optstring), '?' on an error, ':' for a missing argument when
   optstring begins with ':', and -1 when the options are done; optind then
   indexes the first non-option (non-options are moved behind the options
   unless optstring begins with '+' or POSIXLY_CORRECT is set). */
int getopt(int argc, char *const *argv, const char *optstring);
int getopt_long(int argc, char *const *argv, const char *optstring,
                const option *longopts, int *longindex);
/* Also takes "-name" as a long option. */
int getopt_long_only(int argc, char *const *argv, const char *optstring,
                     const option *longopts, int *longindex);

char *getoptarg();
void setoptind(int n);

} // namespace cli

#endif /* CLI_GETOPT_H */
