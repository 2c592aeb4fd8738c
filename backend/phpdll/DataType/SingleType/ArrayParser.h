#ifndef KX_ARRAY_PARSER_H
#define KX_ARRAY_PARSER_H

#include <cstring>
#include <memory>
#include <string>

#include "DataType/SingleType/SingleTypeParser.h"
#include "Util/kxStringSplitter.h"

// A fixed-size array field (a name, an ID list) filled from one text. The
// field's size bounds every write: items beyond it are ignored.
template <typename T>
class ArrayParser {
public:
    ArrayParser(SingleTypeParser<T> *itemParser, unsigned count, T defValue = T())
        : m_count(count), m_sp(itemParser), m_defValue(defValue), m_hasValue(false)
    {
    }
    virtual ~ArrayParser() {}

    // Text to items; a null text (parameter absent) leaves no items, so
    // setValue then writes nothing.
    void parse(const std::string *text)
    {
        m_hasValue = text != nullptr;
        m_valueStr = text ? *text : std::string();
        if (text)
            splitItems(*text);
        else
            m_values.split(std::string());
    }
    // Array to text: every element, formatted by the item parser and
    // separated by single blanks. Elements are copied byte-wise because
    // array fields of packed records may sit at odd addresses.
    void parse(const void *values)
    {
        m_valueStr.clear();
        const unsigned char *bytes = static_cast<const unsigned char *>(values);
        for (unsigned i = 0; i < m_count; ++i) {
            T value;
            std::memcpy(&value, bytes + i * sizeof(T), sizeof(T));
            if (i)
                m_valueStr += ' ';
            m_sp->parse(value);
            m_valueStr += m_sp->toString();
        }
    }

    // Writes the parsed items to consecutive elements, at most m_count;
    // the elements after the last item keep what they held.
    void setValue(void *array)
    {
        unsigned char *bytes = static_cast<unsigned char *>(array);
        const std::vector<std::string> &items = m_values.getList();
        for (unsigned i = 0; i < items.size() && i < m_count; ++i) {
            T value = m_defValue;
            m_sp->parse(&items[i]);
            m_sp->setValue(value);
            std::memcpy(bytes + i * sizeof(T), &value, sizeof(T));
        }
    }
    unsigned itemCount() const { return static_cast<unsigned>(m_values.getList().size()); }
    bool hasValue() const { return m_hasValue; }
    const std::string &toString() const { return m_valueStr; }

protected:
    virtual void splitItems(const std::string &text) = 0;
    kxStringSplitter m_values;

private:
    unsigned m_count;
    std::unique_ptr<SingleTypeParser<T>> m_sp;
    std::string m_valueStr;
    T m_defValue;
    bool m_hasValue;
};

// Each character of the text is one item (names read with CharParser).
template <typename T>
class ArrayListParser : public ArrayParser<T> {
public:
    using ArrayParser<T>::ArrayParser;

protected:
    void splitItems(const std::string &text) override { this->m_values.split(text); }
};

// Blank-separated items ("0 1 2"); two blanks in a row give an empty item,
// which reads as 0.
template <typename T>
class ArraySplitParser : public ArrayParser<T> {
public:
    using ArrayParser<T>::ArrayParser;

protected:
    void splitItems(const std::string &text) override { this->m_values.split(text, ' '); }
};

// The usual two: a name field of bytes, an ID list of U16.
class NameParser : public ArrayListParser<KX_U8> {
public:
    explicit NameParser(unsigned fieldSize) : ArrayListParser<KX_U8>(new CharParser, fieldSize) {}
};
class IDListParser : public ArraySplitParser<KX_U16> {
public:
    explicit IDListParser(unsigned count) : ArraySplitParser<KX_U16>(new U16Parser, count) {}
};

#endif
