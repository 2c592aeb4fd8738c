#ifndef KX_XML_ANALYZER_H
#define KX_XML_ANALYZER_H

#include <string>
#include <tinyxml.h>

#include "Parser/ValuesMap.h"

// Turns one request text into its request name (the root element's name)
// and a flat map of parameters. Text that does not parse, or has no root
// element, gives an empty name and an empty map.
class XMLAnalyzer {
public:
    static const char *const m_key;
    static const char *const m_keyValueU8;
    static const char *const m_keyValueU16;
    static const char *const m_keyValueU32;
    static const char *const m_keyValueU64;
    static const char *const m_keyValueMVU8;
    static const char *const m_keyValueMVU16;
    static const char *const m_keyValueMVU32;
    static const char *const m_keyValueMVU64;
    static const char *const m_keyValueMVBOOLEAN;
    static const char *const m_keyValueParameter;
    static const char *const m_keyValueString;

    explicit XMLAnalyzer(const char *text);

    const std::string &getRequestName() const { return m_functionName; }

    // Rebuilt on every call. Parameters are elements whose first child is
    // text (plain or CDATA) and whose "type" attribute is absent or one of
    // the scalar type names; the first of two equal names wins. An element
    // whose first child is not text is descended into, whatever its type,
    // so grouping elements carry no meaning.
    ValuesMap &getMap();

    static bool isParameter(const TiXmlNode *node);

private:
    void getChildren(const TiXmlNode *node, int depth);

    TiXmlDocument m_XMLDoc;
    ValuesMap m_values;
    std::string m_functionName;
};

#endif
