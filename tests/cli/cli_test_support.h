// Helpers of the in-process tests: a writable argument vector and a
// capture of the tool's output stream.
#ifndef CLI_TEST_SUPPORT_H
#define CLI_TEST_SUPPORT_H

#include <stdio.h>
#include <unistd.h>
#include <string>
#include <vector>
#include "Public/globals.h"

struct Words {
    std::vector<std::string> store;
    std::vector<char *> ptrs;
    explicit Words(std::vector<std::string> words) : store(std::move(words))
    {
        for (auto &s : store)
            ptrs.push_back(&s[0]);
        ptrs.push_back(nullptr);
    }
    int argc() const { return static_cast<int>(ptrs.size() - 1); }
    char **argv() { return ptrs.data(); }
};

/* Points the output stream at a temporary file for the lifetime of the
   object. */
class StreamCapture {
  public:
    StreamCapture() : m_saved(stream), m_file(tmpfile()) { stream = m_file; }
    ~StreamCapture()
    {
        stream = m_saved;
        if (m_file)
            fclose(m_file);
    }
    std::string take()
    {
        std::string out;
        if (!m_file)
            return out;
        fflush(m_file);
        rewind(m_file);
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, m_file)) > 0)
            out.append(buf, n);
        rewind(m_file);
        if (ftruncate(fileno(m_file), 0) != 0)
            out += "<truncate failed>";
        return out;
    }

  private:
    FILE *m_saved;
    FILE *m_file;
};

#endif
