#include "Parser/XMLAnalyzer.h"

#include <cstring>

const char *const XMLAnalyzer::m_key = "type";
const char *const XMLAnalyzer::m_keyValueU8 = "U8";
const char *const XMLAnalyzer::m_keyValueU16 = "U16";
const char *const XMLAnalyzer::m_keyValueU32 = "U32";
const char *const XMLAnalyzer::m_keyValueU64 = "U64";
const char *const XMLAnalyzer::m_keyValueMVU8 = "KX_U8";
const char *const XMLAnalyzer::m_keyValueMVU16 = "KX_U16";
const char *const XMLAnalyzer::m_keyValueMVU32 = "KX_U32";
const char *const XMLAnalyzer::m_keyValueMVU64 = "KX_U64";
const char *const XMLAnalyzer::m_keyValueMVBOOLEAN = "KX_BOOLEAN";
const char *const XMLAnalyzer::m_keyValueParameter = "Para";
const char *const XMLAnalyzer::m_keyValueString = "String";

namespace {
// TinyXML parses, and frees, nested elements recursively, so a request made
// of a few hundred thousand nested tags would run a worker out of stack.
// Nothing the GUI sends nests more than a few levels.
const int kMaxDepth = 256;

// Nesting depth of the text's elements, counted without parsing: start tags
// open a level, end tags and empty-element tags close it; comments, CDATA,
// declarations and quoted attribute values are skipped. Stops counting as
// soon as the limit is passed.
int nestingDepth(const char *p)
{
    int depth = 0, deepest = 0;
    while (*p && deepest <= kMaxDepth) {
        if (*p != '<') {
            ++p;
            continue;
        }
        if (std::strncmp(p, "<!--", 4) == 0) {
            const char *end = std::strstr(p + 4, "-->");
            if (!end)
                break;
            p = end + 3;
        } else if (std::strncmp(p, "<![CDATA[", 9) == 0) {
            const char *end = std::strstr(p + 9, "]]>");
            if (!end)
                break;
            p = end + 3;
        } else if (p[1] == '?' || p[1] == '!') {
            const char *end = std::strchr(p + 1, '>');
            if (!end)
                break;
            p = end + 1;
        } else if (p[1] == '/') {
            if (depth > 0)
                --depth;
            p += 2;
        } else {
            ++p;
            char quote = 0;
            while (*p && (quote || *p != '>')) {
                if (quote && *p == quote)
                    quote = 0;
                else if (!quote && (*p == '"' || *p == '\''))
                    quote = *p;
                ++p;
            }
            bool empty = *p == '>' && p[-1] == '/';
            if (!empty && ++depth > deepest)
                deepest = depth;
            if (*p)
                ++p;
        }
    }
    return deepest;
}
} // namespace

XMLAnalyzer::XMLAnalyzer(const char *text)
{
    if (!text || nestingDepth(text) > kMaxDepth)
        return;
    m_XMLDoc.Parse(text);
    if (m_XMLDoc.Error())
        return;
    const TiXmlElement *root = m_XMLDoc.RootElement();
    if (root && root->Value())
        m_functionName = root->Value();
}

bool XMLAnalyzer::isParameter(const TiXmlNode *node)
{
    const TiXmlElement *element = node ? node->ToElement() : nullptr;
    if (!element)
        return false;
    const char *type = element->Attribute(m_key);
    if (!type)
        return true;
    static const char *const kAccepted[] = {
        m_keyValueU8,   m_keyValueU16,   m_keyValueU32,     m_keyValueU64,
        m_keyValueMVU8, m_keyValueMVU16, m_keyValueMVU32,   m_keyValueMVU64,
        m_keyValueMVBOOLEAN, m_keyValueParameter, m_keyValueString};
    for (const char *accepted : kAccepted)
        if (std::strcmp(type, accepted) == 0)
            return true;
    return false;
}

ValuesMap &XMLAnalyzer::getMap()
{
    m_values.clear();
    if (m_XMLDoc.Error() || m_functionName.empty())
        return m_values;
    const TiXmlElement *root = m_XMLDoc.RootElement();
    if (root) {
        getChildren(root, 0);
    }
    return m_values;
}

void XMLAnalyzer::getChildren(const TiXmlNode *node, int depth)
{
    if (depth > kMaxDepth)
        return;
    for (const TiXmlNode *child = node->FirstChild(); child; child = child->NextSibling()) {
        const TiXmlNode *first = child->FirstChild();
        if (!first)
            continue;
        const TiXmlText *text = first->ToText();
        if (text) {
            if (isParameter(child) && child->Value() && text->Value())
                m_values.insert(ValuesMap::value_type(child->Value(), text->Value()));
        } else {
            getChildren(child, depth + 1);
        }
    }
}
