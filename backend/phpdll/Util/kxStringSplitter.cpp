#include "Util/kxStringSplitter.h"

void kxStringSplitter::split(const std::string &text, char separator)
{
    m_lists.clear();
    std::string::size_type start = 0;
    while (start < text.size()) {
        std::string::size_type end = text.find(separator, start);
        if (end == std::string::npos) {
            m_lists.push_back(text.substr(start));
            break;
        }
        m_lists.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

void kxStringSplitter::split(const std::string &text)
{
    m_lists.clear();
    m_lists.reserve(text.size());
    for (char c : text)
        m_lists.emplace_back(1, c);
}
