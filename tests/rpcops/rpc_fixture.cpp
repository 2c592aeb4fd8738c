#include "rpc_fixture.h"

#include <cstdlib>
#include <fstream>
#include <ftw.h>
#include <sstream>

#include "APIClass/APIClass.h"
#include "Parser/KXRequestHandle.h"
#include "rpc_env.h"

namespace {
int removeEntry(const char *path, const struct stat *, int, struct FTW *) { return ::remove(path); }
} // namespace

void RpcFixture::SetUp()
{
    char tmpl[] = "/tmp/rpcops-unit-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(tmpl));
    m_dir = tmpl;
    useTestDirectory(m_dir);
    // Process-wide adapter records belong to the previous test's controller.
    APIClass::reset();
    m_handle.reset(new KXRequestHandle);
}

void RpcFixture::TearDown()
{
    m_handle.reset();
    nftw(m_dir.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

void RpcFixture::writeFile(const std::string &name, const std::string &content) const
{
    std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
    out << content;
}

void RpcFixture::load(const std::string &stateJson)
{
    writeFile("state.json", stateJson);
    APIClass::reset();
}

std::string RpcFixture::issue(const std::string &xml)
{
    if (m_handle->issue(xml.c_str()) != 0)
        return std::string();
    return m_handle->getResult();
}

std::string memberOf(const std::string &response, const std::string &name)
{
    std::string open = "<" + name + ">";
    std::string::size_type at = response.find(open);
    if (at == std::string::npos) {
        open = "<" + name + " type=";
        at = response.find(open);
        if (at == std::string::npos)
            return "<absent>";
        at = response.find('>', at) + 1;
    } else {
        at += open.size();
    }
    std::string::size_type end = response.find("</" + name + ">", at);
    std::string v = response.substr(at, end - at);
    if (v.compare(0, 9, "<![CDATA[") == 0)
        v = v.substr(9, v.size() - 12);
    return v;
}

int countOf(const std::string &response, const std::string &name)
{
    int n = 0;
    for (std::string::size_type at = 0; (at = response.find("<" + name + " ", at)) != std::string::npos; ++at)
        ++n;
    for (std::string::size_type at = 0; (at = response.find("<" + name + ">", at)) != std::string::npos; ++at)
        ++n;
    return n;
}

std::string readWhole(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}
