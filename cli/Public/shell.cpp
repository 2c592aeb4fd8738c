#include "Public/startup.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>
#include <readline/history.h>
#include <readline/readline.h>
#include "kx_api.h"
#include "Public/aes_options.h"
#include "Public/dispatch.h"
#include "Public/globals.h"

int shellExecuteLine(const char *line)
{
    const size_t len = strlen(line);
    if (len > CLI_LINE_MAX - 1) {
        fprintf(stream, "Command line is too long (at most %d characters).\n", CLI_LINE_MAX - 1);
        return 1;
    }
    char buffer[CLI_LINE_MAX];
    memcpy(buffer, line, len + 1);
    char *words[CLI_MAX_WORDS + 1];
    int num = 0;
    int result;
    if (!parse(&num, words, buffer)) {
        fprintf(stream, "Invalid quoted string.\n");
        result = 1;
    } else if (num == 0) {
        fprintf(stream, "Type 'exit' to exit CLI.\n");
        result = 0;
    } else if (num > CLI_MAX_WORDS) {
        fprintf(stream, "Too many words in the command line (at most %d).\n", CLI_MAX_WORDS);
        result = 1;
    } else {
        words[num] = nullptr;
        result = cmdDispatcher(num, words);
    }
    /* The line may have carried a key or a password. */
    wipeSecret(buffer, sizeof buffer);
    return result;
}

int runShell()
{
    const char *api = KX_API_Version();
    fprintf(stream, "CLI Version: %s   RaidAPI Version: %s\n", CLI_VERSION, api ? api : "");
    fprintf(stream, "Welcome to RAID Command Line Interface.\n\n");
    rl_readline_name = "arrayctl";
    for (;;) {
        /* The prompt goes straight to the terminal; what the last command
           wrote must come out first. */
        fflush(stream);
        fflush(stdout);
        char *line = readline("> ");
        /* Input closed: nothing more will come, so the shell ends instead
           of prompting for ever. */
        if (!line) {
            /* Leave the terminal's next prompt on a line of its own. */
            if (isatty(STDIN_FILENO))
                fputc('\n', stdout);
            break;
        }
        /* Keys and passwords of the encryption commands must not be
           recalled, or stay in memory, after the command. */
        const bool secret = lineMayHoldSecret(line);
        if (!secret)
            add_history(line);
        const int result = shellExecuteLine(line);
        if (secret)
            wipeSecret(line, strlen(line));
        free(line);
        if (result == -1)
            break;
    }
    return 0;
}
