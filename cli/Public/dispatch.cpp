#include "Public/dispatch.h"

#include <string>

#include "Public/aes_options.h"
#include "audit.h"

#include <stdio.h>
#include <string.h>
#include "kx_api.h"
#include "Public/globals.h"
#include "Public/utils.h"

void chooseCmdTables(KX_U8 adapter)
{
    if (adapter < CLI_MAX_ADAPTERS && gAdapterInfo[adapter].MaxDiskGroup != 0) {
        arrayBasedRaid = 1;
        pCmdTable = generalCmdTableV2;
        cmdTableSize = generalCmdTableV2Size();
        pInCmdTable = internalCmdTableV2;
        inCmdTableSize = internalCmdTableV2Size();
    } else {
        arrayBasedRaid = 0;
        pCmdTable = generalCmdTableV1;
        cmdTableSize = generalCmdTableV1Size();
        pInCmdTable = internalCmdTableV1;
        inCmdTableSize = internalCmdTableV1Size();
    }
}

namespace {

const char *apiVersion()
{
    const char *v = KX_API_Version();
    return v ? v : "";
}

/* Prefix matching over one table. Returns the row typed in full at once;
   otherwise counts the rows that begin with the word. */
cmd_struct *matchTable(cmd_struct *table, unsigned short size, const char *word, size_t len,
                       int *matches, cmd_struct **last)
{
    for (unsigned short i = 0; i < size; ++i) {
        cmd_struct *row = &table[i];
        if (strncmp(row->cmd, word, len) != 0)
            continue;
        if (row->cmdLen == static_cast<int>(len) + 1)
            return row;
        ++*matches;
        *last = row;
    }
    return nullptr;
}

} // namespace

int cmdDispatcher(int argc, char **argv)
{
    if (argc <= 0 || !argv[0])
        return 1;
    if (!pCmdTable)
        chooseCmdTables(gCurrentAdapter);
    char *word = strlwr(argv[0]);
    if (strcmp(word, "exit") == 0 || strcmp(word, "quit") == 0)
        return -1;
    if (strcmp(word, "ver") == 0) {
        fprintf(stream, "CLI Version: %s   RaidAPI Version: %s\n", CLI_VERSION, apiVersion());
        return 0;
    }

    const size_t len = strlen(word);
    int matches = 0;
    cmd_struct *last = nullptr;
    cmd_struct *row = matchTable(pCmdTable, cmdTableSize, word, len, &matches, &last);
    /* A word that fits any general row never reaches an internal one. */
    if (!row && matches == 0)
        row = matchTable(pInCmdTable, inCmdTableSize, word, len, &matches, &last);
    if (!row && matches == 1)
        row = last;
    if (row) {
        /* One audit record for a command that changed anything. Commands
           that take keys and passwords keep only their IDs and the
           operation in it. */
        AuditActor actor;
        actor.tool = "arrayctl";
        const bool secret = lineMayHoldSecret(argv[0]);
        auditBegin(actor, "adapter " + std::to_string(gCurrentAdapter) + ": " +
                              auditMaskedArgs(argc, argv, secret, "oie"));
        const int rc = row->cmdHandler(argc, argv, row);
        auditEnd(rc);
        return rc;
    }

    if (matches > 1) {
        fprintf(stream, "Ambiguous command '%s'!\n", word);
        return 1;
    }
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(word); *p; ++p) {
        if (*p < 0x1E || *p > 0x7E) {
            fprintf(stream, "Invalid command!\n");
            return 1;
        }
    }
    fprintf(stream, "Invalid command '%s'!\n", word);
    return 1;
}

int parse(int *num, char **argv, char *command)
{
    int count = 0;
    char *start = command;
    char *p = command;
    bool open = true; /* a word begins at start */
    auto addWord = [&](char *w) {
        if (count < CLI_MAX_WORDS)
            argv[count] = w;
        ++count;
    };
    *num = 0;
    while (*p) {
        if (*p == '"') {
            char *close = strchr(p + 1, '"');
            if (!close)
                return 0;
            p = close + 1;
            continue;
        }
        if (*p == ' ' || *p == '\t') {
            *p++ = '\0';
            addWord(start);
            /* Runs of spaces are one separator; each further tab is not. */
            while (*p == ' ')
                ++p;
            start = p;
            open = *p != '\0';
            continue;
        }
        ++p;
    }
    if (open && p != start)
        addWord(start);
    *num = count;
    return 1;
}

void noQuoteStrncpy(char *desc, const char *source, int maxLen)
{
    if (!desc || !source || maxLen <= 0)
        return;
    if (source[0] != '"') {
        strncpy(desc, source, static_cast<size_t>(maxLen));
        desc[maxLen - 1] = '\0';
        return;
    }
    size_t inner = strlen(source);
    inner = inner >= 2 ? inner - 2 : 0;
    if (inner > static_cast<size_t>(maxLen))
        inner = static_cast<size_t>(maxLen);
    memcpy(desc, source + 1, inner);
    desc[inner] = '\0';
}

void printCommandHelp(const cmd_struct *pCmdInfo)
{
    fputs("Description", stream);
    fputs(pCmdInfo->cmdShortHelp, stream);
    fputs(pCmdInfo->cmdHelp, stream);
}

void printHelpAsFormat(const char *text)
{
    for (const char *p = text; *p; ++p) {
        if (p[0] == '%' && p[1] == '%')
            ++p;
        fputc(*p, stream);
    }
}

int notAvailableInThisBuild(int argc, char **argv, cmd_struct *pCmdInfo)
{
    for (int i = 1; i < argc; ++i) {
        const char *a = argv[i];
        const size_t n = strlen(a);
        if (strcmp(a, "-h") == 0 || (n > 2 && strncmp(a, "--help", n) == 0)) {
            printCommandHelp(pCmdInfo);
            return 0;
        }
    }
    fprintf(stderr, "%s: command is not available in this build\n", pCmdInfo->cmd);
    return 1;
}
