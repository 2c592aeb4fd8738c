// The deliverables link against the declarations in include/; the library
// must export a definition of each, or a module fails to load at run time.
#include <gtest/gtest.h>

#include <dirent.h>
#include <dlfcn.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

std::set<std::string> declaredOperations()
{
    std::set<std::string> names;
    const std::regex decl(R"((?:^|\n)\s*(?:KX_U8|KX_U16|const char \*)\s*(KX_\w+)\s*\()");
    DIR *d = opendir(KX_API_HEADERS);
    if (!d)
        return names;
    while (struct dirent *e = readdir(d)) {
        std::string file = e->d_name;
        if (file.size() < 3 || file.substr(file.size() - 2) != ".h")
            continue;
        std::ifstream in(std::string(KX_API_HEADERS) + "/" + file);
        std::stringstream text;
        text << in.rdbuf();
        std::string s = text.str();
        for (std::sregex_iterator it(s.begin(), s.end(), decl), end; it != end; ++it)
            names.insert((*it)[1]);
    }
    closedir(d);
    return names;
}

TEST(Exports, EveryDeclaredOperationIsExported)
{
    std::set<std::string> ops = declaredOperations();
    ASSERT_GT(ops.size(), 100u);  // the whole operation set, not a stray match
    ASSERT_TRUE(ops.count("KX_LD_Delete"));
    void *lib = dlopen(ARRAYCORE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << dlerror();
    for (const std::string &op : ops)
        EXPECT_NE(dlsym(lib, op.c_str()), nullptr) << op << " is declared but not exported";
    // Nothing of the model's own leaks out of the library.
    EXPECT_EQ(dlsym(lib, "_ZN3sim12defaultStateEl"), nullptr);
    dlclose(lib);
}

}  // namespace
