#include "Parser/ValuesMap2XML.h"

#include <cstdio>

const char *const ValuesMap2XML::kStructPrefix = "struct  ";

ValuesMap2XML::ValuesMap2XML(const std::string &requestName)
    : m_root(requestName.c_str()), m_marked(false)
{
}

void ValuesMap2XML::markFunction()
{
    if (!m_marked) {
        m_root.SetAttribute("type", "function");
        m_marked = true;
    }
}

void ValuesMap2XML::addResult(KX_U8 code)
{
    markFunction();
    char text[4];
    snprintf(text, sizeof text, "%u", static_cast<unsigned>(code));
    TiXmlElement *ret = new TiXmlElement("RetVal");
    ret->SetAttribute("type", "U8");
    ret->LinkEndChild(new TiXmlText(text));
    m_root.LinkEndChild(ret);
}

void ValuesMap2XML::appendCData(TiXmlElement *element, const std::string &value)
{
    // A value holding "]]>" would end the section early and let the rest of
    // the value be read as markup (names and echoed parameters come from
    // users). Such a value is split into sections at that point, which the
    // reader joins back into the same text.
    std::string::size_type start = 0, cut;
    while ((cut = value.find("]]>", start)) != std::string::npos) {
        TiXmlText *part = new TiXmlText(value.substr(start, cut + 2 - start).c_str());
        part->SetCDATA(true);
        element->LinkEndChild(part);
        start = cut + 2;
    }
    TiXmlText *rest = new TiXmlText(value.c_str() + start);
    rest->SetCDATA(true);
    element->LinkEndChild(rest);
}

void ValuesMap2XML::addValue(const std::string &name, const std::string &value,
                             const std::string &type)
{
    markFunction();
    TiXmlElement *element = new TiXmlElement(name.c_str());
    element->SetAttribute("type", type.c_str());
    appendCData(element, value);
    m_root.LinkEndChild(element);
}

TiXmlElement *ValuesMap2XML::newStruct(const std::string &elementName, const std::string &structName)
{
    TiXmlElement *element = new TiXmlElement(elementName.c_str());
    element->SetAttribute("type", (kStructPrefix + structName).c_str());
    return element;
}

void ValuesMap2XML::addRetStruct(const std::string &name, const ValuesMap &map)
{
    TiXmlElement *element = newStruct(name, name);
    addStructBody(element, map);
    m_root.LinkEndChild(element);
}

TiXmlElement *ValuesMap2XML::addStructNameToRoot(const std::string &structName,
                                                 const std::string &elementName)
{
    return static_cast<TiXmlElement *>(m_root.LinkEndChild(newStruct(elementName, structName)));
}

TiXmlElement *ValuesMap2XML::addStructNameToSub(TiXmlElement *parent, const std::string &structName,
                                                const std::string &elementName)
{
    if (!parent)
        return nullptr;
    return static_cast<TiXmlElement *>(parent->LinkEndChild(newStruct(elementName, structName)));
}

void ValuesMap2XML::addStructBody(TiXmlElement *parent, const ValuesMap &map)
{
    if (!parent)
        return;
    for (const ValuesMap::value_type &entry : map) {
        TiXmlElement *member = new TiXmlElement(entry.first.c_str());
        appendCData(member, entry.second);
        parent->LinkEndChild(member);
    }
}

const std::string &ValuesMap2XML::getString()
{
    TiXmlPrinter printer;
    printer.SetStreamPrinting();
    m_root.Accept(&printer);
    m_xml.assign(printer.Str());
    m_xml += '\n';
    m_root.Clear();
    return m_xml;
}
