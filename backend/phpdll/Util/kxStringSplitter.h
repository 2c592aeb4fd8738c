#ifndef KX_STRING_SPLITTER_H
#define KX_STRING_SPLITTER_H

#include <string>
#include <vector>

// Cuts list-valued request parameters ("0 1 2", "abc") into items.
class kxStringSplitter {
public:
    // Items up to each occurrence of separator, the way getline reads lines:
    // "a b  c" gives a, b, "", c; a trailing separator adds no empty item and
    // an empty text gives no item at all.
    void split(const std::string &text, char separator);
    // One item per character: "0123" gives 0, 1, 2, 3.
    void split(const std::string &text);
    const std::vector<std::string> &getList() const { return m_lists; }

private:
    std::vector<std::string> m_lists;
};

#endif
