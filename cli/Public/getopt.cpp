#include "Public/getopt.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>

namespace cli {

int optind = 1;
int opterr = 1;
int optopt = '?';
char *optarg = nullptr;

namespace {

enum Ordering { kRequireOrder, kPermute, kReturnInOrder };

bool gInitialized = false;
Ordering gOrdering = kPermute;
/* Non-options skipped so far sit in argv[gFirstNonopt .. gLastNonopt). */
int gFirstNonopt = 1;
int gLastNonopt = 1;

bool isNonOption(const char *arg) { return arg[0] != '-' || arg[1] == '\0'; }

/* Move the skipped non-options behind the options scanned since. The
   vector is permuted in place, as callers of getopt expect. */
void exchange(char *const *argv)
{
    char **v = const_cast<char **>(argv);
    std::rotate(v + gFirstNonopt, v + gLastNonopt, v + optind);
    gFirstNonopt += optind - gLastNonopt;
    gLastNonopt = optind;
}

int parseLong(int argc, char *const *argv, const char *letters, const option *longopts,
              int *longindex, bool longOnly, bool printErrors, bool colonMode)
{
    const char *arg = argv[optind];
    const char *name = arg + (arg[1] == '-' ? 2 : 1);
    size_t nameLen = strcspn(name, "=");

    const option *found = nullptr;
    int foundIndex = -1;
    bool exact = false;
    bool ambiguous = false;
    for (int i = 0; longopts[i].name; ++i) {
        const option &p = longopts[i];
        if (strncmp(p.name, name, nameLen) != 0)
            continue;
        if (strlen(p.name) == nameLen) {
            found = &p;
            foundIndex = i;
            exact = true;
            break;
        }
        if (!found) {
            found = &p;
            foundIndex = i;
        } else if (longOnly || found->has_arg != p.has_arg || found->flag != p.flag ||
                   found->val != p.val) {
            /* Rows that would do the same thing are not told apart. */
            ambiguous = true;
        }
    }

    /* Diagnostics name the option only: what follows "=" may be a key or
       a password. */
    const int shownLen = static_cast<int>(name - arg + nameLen);
    if (ambiguous && !exact) {
        if (printErrors)
            fprintf(stderr, "%s: option `%.*s' is ambiguous\n", argv[0], shownLen, arg);
        ++optind;
        optopt = 0;
        return '?';
    }

    if (!found) {
        /* "-x..." under getopt_long_only may still be a short option. */
        if (longOnly && arg[1] != '-' && strchr(letters, arg[1]))
            return -2;
        if (printErrors) {
            if (arg[1] == '-')
                fprintf(stderr, "%s: unrecognized option `--%.*s'\n", argv[0], static_cast<int>(nameLen), name);
            else
                fprintf(stderr, "%s: unrecognized option `%c%.*s'\n", argv[0], arg[0], static_cast<int>(nameLen),
                        name);
        }
        ++optind;
        optopt = 0;
        return '?';
    }

    ++optind;
    if (name[nameLen] == '=') {
        if (found->has_arg != kNoArgument) {
            optarg = const_cast<char *>(name + nameLen + 1);
        } else {
            if (printErrors) {
                if (arg[1] == '-')
                    fprintf(stderr, "\t\t\t\t\t%s: option `--%s' doesn't allow an argument\n",
                            argv[0], found->name);
                else
                    fprintf(stderr, "\t\t\t\t\t%s: option `%c%s' doesn't allow an argument\n",
                            argv[0], arg[0], found->name);
            }
            optopt = found->val;
            return '?';
        }
    } else if (found->has_arg == kRequiredArgument) {
        if (optind < argc) {
            optarg = argv[optind++];
        } else {
            if (printErrors)
                fprintf(stderr, "%s: option `%s' requires an argument\n", argv[0], arg);
            optopt = found->val;
            return colonMode ? ':' : '?';
        }
    }
    if (longindex)
        *longindex = foundIndex;
    if (found->flag) {
        *found->flag = found->val;
        return 0;
    }
    return found->val;
}

int getoptInternal(int argc, char *const *argv, const char *optstring, const option *longopts,
                   int *longindex, bool longOnly)
{
    if (argc <= 0)
        return -1;
    optarg = nullptr;

    if (optind == 0 || !gInitialized) {
        if (optind == 0)
            optind = 1;
        gFirstNonopt = gLastNonopt = optind;
        if (optstring[0] == '-')
            gOrdering = kReturnInOrder;
        else if (optstring[0] == '+' || getenv("POSIXLY_CORRECT"))
            gOrdering = kRequireOrder;
        else
            gOrdering = kPermute;
        gInitialized = true;
    }
    const char *letters = optstring;
    if (*letters == '-' || *letters == '+')
        ++letters;
    const bool colonMode = optstring[0] == ':' || letters[0] == ':';
    const bool printErrors = opterr && optstring[0] != ':';

    /* A new vector starts at optind: a window left over from the previous
       one must not reach past it. */
    if (gLastNonopt > optind)
        gLastNonopt = optind;
    if (gFirstNonopt > optind)
        gFirstNonopt = optind;
    /* A caller that moved optind below the window, or an argc smaller
       than before, must not make us permute outside the vector. */
    if (optind < 1)
        optind = 1;
    if (optind > argc)
        optind = argc;

    if (gOrdering == kPermute) {
        if (gFirstNonopt != gLastNonopt && gLastNonopt != optind)
            exchange(argv);
        else if (gLastNonopt != optind)
            gFirstNonopt = optind;
        while (optind < argc && isNonOption(argv[optind]))
            ++optind;
        gLastNonopt = optind;
    }

    if (optind != argc && strcmp(argv[optind], "--") == 0) {
        ++optind;
        if (gFirstNonopt != gLastNonopt && gLastNonopt != optind)
            exchange(argv);
        else if (gFirstNonopt == gLastNonopt)
            gFirstNonopt = optind;
        gLastNonopt = argc;
        optind = argc;
    }

    if (optind == argc) {
        if (gFirstNonopt != gLastNonopt)
            optind = gFirstNonopt;
        return -1;
    }

    if (isNonOption(argv[optind])) {
        if (gOrdering == kRequireOrder)
            return -1;
        optarg = argv[optind++];
        return 1;
    }

    const char *arg = argv[optind];
    if (longopts && (arg[1] == '-' || (longOnly && (arg[2] != '\0' || !strchr(letters, arg[1]))))) {
        int r = parseLong(argc, argv, letters, longopts, longindex, longOnly, printErrors,
                          colonMode);
        if (r != -2)
            return r;
    }

    const char c = arg[1];
    const char *spec = strchr(letters, c);
    ++optind;
    if (!spec || c == ':') {
        if (printErrors)
            fprintf(stderr, "%s: illegal option -- %c\n", argv[0], c);
        optopt = c;
        return '?';
    }
    if (spec[1] == ':') {
        if (spec[2] == ':') {
            /* optional argument: only attached */
            optarg = arg[2] ? const_cast<char *>(arg + 2) : nullptr;
        } else if (arg[2]) {
            optarg = const_cast<char *>(arg + 2);
        } else if (optind < argc) {
            optarg = argv[optind++];
        } else {
            if (printErrors)
                fprintf(stderr, "%s: option requires an argument -- %c\n", argv[0], c);
            optopt = c;
            return colonMode ? ':' : '?';
        }
    }
    return c;
}

} // namespace

int getopt(int argc, char *const *argv, const char *optstring)
{
    return getoptInternal(argc, argv, optstring, nullptr, nullptr, false);
}

int getopt_long(int argc, char *const *argv, const char *optstring, const option *longopts,
                int *longindex)
{
    return getoptInternal(argc, argv, optstring, longopts, longindex, false);
}

int getopt_long_only(int argc, char *const *argv, const char *optstring,
                     const option *longopts, int *longindex)
{
    return getoptInternal(argc, argv, optstring, longopts, longindex, true);
}

char *getoptarg() { return optarg; }
void setoptind(int n) { optind = n; }

} // namespace cli
