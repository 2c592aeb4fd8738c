#include "Public/startup.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>
#include <readline/history.h>
#include <readline/readline.h>
#include "kx_api.h"
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
    if (!parse(&num, words, buffer)) {
        fprintf(stream, "Invalid quoted string.\n");
        return 1;
    }
    if (num == 0) {
        fprintf(stream, "Type 'exit' to exit CLI.\n");
        return 0;
    }
    if (num > CLI_MAX_WORDS) {
        fprintf(stream, "Too many words in the command line (at most %d).\n", CLI_MAX_WORDS);
        return 1;
    }
    words[num] = nullptr;
    return cmdDispatcher(num, words);
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
        add_history(line);
        const int result = shellExecuteLine(line);
        free(line);
        if (result == -1)
            break;
    }
    return 0;
}
