// The web pages' status texts are the programs' own: the generated PHP
// class, run by the real interpreter, words every status byte as
// ErrorMessage does.
#include <gtest/gtest.h>

#include <stdio.h>

#include <string>

#include "status_text.h"

TEST(StatusTextPhp, EveryCodeReadsAsErrorMessage)
{
    const std::string cmd = std::string(PHP_BINARY) + " -n -d include_path=" + STATUS_TEXTS_DIR +
                            " -r 'require \"status_texts.php\"; for ($i = 0; $i < 256; $i++) echo StatusText::of($i), "
                            "\"\\n\"; echo StatusText::of(-1), \"\\n\", StatusText::of(256), \"\\n\";'";
    FILE *p = popen(cmd.c_str(), "r");
    ASSERT_NE(p, nullptr);
    std::string out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    ASSERT_EQ(pclose(p), 0) << out;

    std::string expected;
    for (int code = 0; code < 256; ++code)
        expected += std::string(ErrorMessage(static_cast<KX_U8>(code))) + "\n";
    expected += std::string(kUnknownStatusText) + "\n" + kUnknownStatusText + "\n";
    EXPECT_EQ(out, expected);
}
