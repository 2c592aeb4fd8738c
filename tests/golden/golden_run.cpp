// Runs the golden files named on the command line (see golden_driver.h for
// their format); exit status 1 when any command's output differs.
#include <cstdio>

#include "golden_driver.h"

int main(int argc, char **argv)
{
    int failed = 0;
    for (int i = 1; i < argc; ++i)
        failed += runGoldenFile(argv[i]);
    if (failed)
        fprintf(stderr, "%d command(s) failed\n", failed);
    return failed ? 1 : 0;
}
