// Writes the PHP copy of the status texts (class StatusText) from the one
// table the programs use, so that the web pages word a refusal exactly as
// arrayctl does. Run at build time: status_text_php OUTPUT.
#include <stdio.h>

#include <string>

#include "status_text.h"

namespace {

// A PHP single-quoted literal: only the quote and the backslash need care.
std::string phpQuoted(const char *text)
{
    std::string out = "'";
    for (const char *p = text; *p; ++p) {
        if (*p == '\'' || *p == '\\')
            out += '\\';
        out += *p;
    }
    return out + "'";
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: status_text_php OUTPUT\n");
        return 2;
    }
    const std::string tmp = std::string(argv[1]) + ".tmp";
    FILE *f = fopen(tmp.c_str(), "w");
    if (!f) {
        perror(tmp.c_str());
        return 1;
    }
    fputs("<?php\n"
          "// Generated at build time from the programs' table of status texts;\n"
          "// do not edit. The controller's status texts, as arrayctl prints them,\n"
          "// so that a page shows what the controller said when it refused.\n"
          "declare(strict_types=1);\n\n"
          "final class StatusText\n{\n    private const TEXTS = [\n",
          f);
    // Every status byte, the unlisted ones with the text arrayctl gives
    // them, so that the two cannot differ for any code.
    for (int code = 0; code < 256; ++code)
        fprintf(f, "        %d => %s,\n", code, phpQuoted(ErrorMessage(static_cast<KX_U8>(code))).c_str());
    fprintf(f, "    ];\n\n"
               "    public static function of(int $code): string\n    {\n"
               "        return self::TEXTS[$code] ?? %s;\n    }\n}\n",
            phpQuoted(kUnknownStatusText).c_str());
    if (fclose(f) != 0 || rename(tmp.c_str(), argv[1]) != 0) {
        perror(argv[1]);
        return 1;
    }
    return 0;
}
