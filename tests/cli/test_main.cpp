// The in-process tests never let the controller library touch a state
// file outside a temporary directory of their own.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <filesystem>
#include <string>

int main(int argc, char **argv)
{
    char dir[] = "/tmp/arrayctl-unit-XXXXXX";
    if (!mkdtemp(dir))
        return 2;
    const std::string state = std::string(dir) + "/state.json";
    setenv("ARRAYCORE_SIM_STATE", state.c_str(), 1);
    setenv("TMPDIR", dir, 1);
    testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return rc;
}
