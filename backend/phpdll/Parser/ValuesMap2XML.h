#ifndef KX_VALUES_MAP2XML_H
#define KX_VALUES_MAP2XML_H

#include <string>
#include <tinyxml.h>

#include "Parser/ValuesMap.h"
#include "kx_types.h"

// Builds one response: a root element named after the request, its result
// code, scalars and structs, printed on one line. One builder per operator,
// reused for every request of the process: getString() empties it again.
class ValuesMap2XML {
public:
    explicit ValuesMap2XML(const std::string &requestName);

    // <RetVal type="U8">code</RetVal>, plain text.
    void addResult(KX_U8 code);
    // <name type="type"><![CDATA[value]]></name>
    void addValue(const std::string &name, const std::string &value, const std::string &type);
    // One struct element named name, of struct type name, with one member
    // per entry in key order.
    void addRetStruct(const std::string &name, const ValuesMap &map);
    // Empty struct elements to be filled with addStructBody or further
    // sub-structs; the returned element belongs to the response.
    TiXmlElement *addStructNameToRoot(const std::string &structName, const std::string &elementName);
    TiXmlElement *addStructNameToSub(TiXmlElement *parent, const std::string &structName,
                                     const std::string &elementName);
    void addStructBody(TiXmlElement *parent, const ValuesMap &map);

    // Prints the response followed by one newline and empties the builder
    // (the root keeps its attributes). The text stays valid until the next
    // call.
    const std::string &getString();

    static const char *const kStructPrefix; // "struct  "

private:
    void markFunction();
    static TiXmlElement *newStruct(const std::string &elementName, const std::string &structName);
    static void appendCData(TiXmlElement *element, const std::string &value);

    TiXmlElement m_root;
    bool m_marked;
    std::string m_xml;
};

#endif
