#ifndef KX_SINGLE_TYPE_PARSER_H
#define KX_SINGLE_TYPE_PARSER_H

#include <string>

#include "kx_types.h"

// One scalar between its request text and its record field. A parser is
// kept for the life of its operator and re-parses on every request.
template <typename T>
class SingleTypeParser {
public:
    SingleTypeParser()
        : m_value(), m_hasValue(false), m_hasDefaultValue(false), m_has2String(false)
    {
    }
    explicit SingleTypeParser(const T &defaultValue)
        : m_value(defaultValue), m_default(defaultValue), m_hasValue(false),
          m_hasDefaultValue(true), m_has2String(false)
    {
    }
    virtual ~SingleTypeParser() {}

    // Text to value. A null text is a parameter the request did not carry:
    // the parser then has no value and falls back to its default, if any.
    void parse(const std::string *text)
    {
        m_has2String = false;
        if (!text) {
            m_hasValue = false;
            m_value = m_hasDefaultValue ? m_default : T();
            return;
        }
        m_value = fromText(*text);
        m_hasValue = true;
    }
    // Value to text, kept for toString().
    void parse(const T &value)
    {
        m_value = value;
        m_valueStr = toText(value);
        m_has2String = true;
    }

    // Writes the value when one was parsed or a default exists; otherwise
    // leaves out untouched.
    void setValue(T &out) const
    {
        if (m_hasValue || m_hasDefaultValue)
            out = m_value;
    }
    const std::string &toString()
    {
        if (!m_has2String) {
            m_valueStr = toText(m_value);
            m_has2String = true;
        }
        return m_valueStr;
    }

    bool hasValue() const { return m_hasValue; }
    bool hasDefault() const { return m_hasDefaultValue; }
    const T &value() const { return m_value; }

protected:
    virtual T fromText(const std::string &text) const = 0;
    virtual std::string toText(const T &value) const = 0;

private:
    T m_value;
    T m_default{};
    bool m_hasValue;
    bool m_hasDefaultValue;
    bool m_has2String;
    std::string m_valueStr;
};

// Decimal the way atoi reads it (leading blanks, optional sign, digits up to
// the first non-digit, none gives 0), truncated to the field's width: -1 is
// 255 in a U8 field, 300 is 44. Formats as unsigned decimal.
template <typename T>
class DecimalParser : public SingleTypeParser<T> {
public:
    DecimalParser() {}
    explicit DecimalParser(T defaultValue) : SingleTypeParser<T>(defaultValue) {}
    static T read(const std::string &text);
    static std::string format(T value) { return std::to_string(static_cast<unsigned long>(value)); }

protected:
    T fromText(const std::string &text) const override { return read(text); }
    std::string toText(const T &value) const override { return format(value); }
};

long long kxReadDecimalLong(const std::string &text);

template <typename T>
T DecimalParser<T>::read(const std::string &text)
{
    // Through unsigned long long so that truncation is defined modulo 2^width.
    return static_cast<T>(static_cast<unsigned long long>(kxReadDecimalLong(text)));
}

typedef DecimalParser<KX_U8> U8Parser;
typedef DecimalParser<KX_U16> U16Parser;
typedef DecimalParser<KX_U32> U32Parser;

// 64-bit sizes, low word first as the controller lays them out.
class U64Parser : public SingleTypeParser<KX_U64> {
public:
    U64Parser() {}
    explicit U64Parser(uint64_t defaultValue) : SingleTypeParser<KX_U64>(kxU64Make(defaultValue)) {}
    static KX_U64 read(const std::string &text);
    static std::string format(const KX_U64 &value) { return std::to_string(kxU64Value(value)); }

protected:
    KX_U64 fromText(const std::string &text) const override { return read(text); }
    std::string toText(const KX_U64 &value) const override { return format(value); }
};

// One character: the text's first byte in, the byte itself out when it is
// printable, "?" otherwise.
class CharParser : public SingleTypeParser<KX_U8> {
public:
    static KX_U8 read(const std::string &text)
    {
        return text.empty() ? 0 : static_cast<KX_U8>(text[0]);
    }
    static std::string format(KX_U8 value);

protected:
    KX_U8 fromText(const std::string &text) const override { return read(text); }
    std::string toText(const KX_U8 &value) const override { return format(value); }
};

// Hexadecimal as strtol reads it with base 16 (an optional 0x prefix);
// formats lower-case without prefix or leading zeros (10 gives a).
class ASCIIParser : public SingleTypeParser<KX_U8> {
public:
    static KX_U8 read(const std::string &text);
    static std::string format(KX_U8 value);

protected:
    KX_U8 fromText(const std::string &text) const override { return read(text); }
    std::string toText(const KX_U8 &value) const override { return format(value); }
};

#endif
