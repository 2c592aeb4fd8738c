// "KX_StringEncode" and "KX_StringDecode": the GUI's string scramble
// (Util/RC4.h). Both always answer RetVal 0.
#include <cstring>
#include <memory>

#include "DataType/SingleType/ArrayParser.h"
#include "DataType/SingleType/ValueText.h"
#include "Operators/KXAPIOperator.h"
#include "Operators/OperatorTable.h"
#include "Util/KXUser.h"
#include "Util/RC4.h"

namespace {
const unsigned kBufferSize = 64;

// The buffer and byte count of one string, scrambled in place.
struct StringCode {
    KX_U8 m_lpsz[kBufferSize];
    unsigned long m_strlen;

    StringCode() : m_strlen(0) { clear(); }
    void clear()
    {
        kxWipe(m_lpsz, sizeof m_lpsz);
        m_strlen = 0;
    }
    void scramble()
    {
        RC4 rc4;
        rc4.crypt(m_lpsz, m_strlen);
    }
};
} // namespace

class StringEncode : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME

    StringEncode() : KXAPIOperator(m_OperatorName), m_text(kBufferSize) {}

    // At most 64 characters; a longer text is cut.
    bool analyze(ValuesMap &params) override
    {
        m_code.clear();
        m_text.parse(findValue(params, "szsource"));
        m_text.setValue(m_code.m_lpsz);
        // The parser would hold on to the text until the next request.
        m_text.parse(static_cast<const std::string *>(nullptr));
        m_code.m_strlen = strnlen(reinterpret_cast<const char *>(m_code.m_lpsz), kBufferSize);
        return true;
    }
    void run() override
    {
        m_code.scramble();
        m_APIRet = 0;
    }
    // The scrambled bytes as lower-case hexadecimal numbers without leading
    // zeros, separated by single blanks.
    void buildXML() override
    {
        KXAPIOperator::buildXML();
        std::string target;
        for (unsigned long i = 0; i < m_code.m_strlen; ++i) {
            if (i)
                target += ' ';
            target += ASCIIParser::format(m_code.m_lpsz[i]);
        }
        m_xml.addValue("sztarget", target, "string");
        m_code.clear();
    }

private:
    NameParser m_text;
    StringCode m_code;
};
KX_OPERATOR_NAME(StringEncode, "KX_StringEncode")
KX_REGISTER_OPERATOR(StringEncode)

class StringDecode : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME

    StringDecode() : KXAPIOperator(m_OperatorName), m_bytes(new ASCIIParser, kBufferSize) {}

    // Blank-separated hexadecimal bytes, at most 64; the string ends before
    // the first two zero bytes in a row. Only the bytes given count: the
    // zeros after them are no part of the string, so a string whose last
    // byte scrambles to zero still comes back whole.
    bool analyze(ValuesMap &params) override
    {
        m_code.clear();
        m_bytes.parse(findValue(params, "sztarget"));
        m_bytes.setValue(m_code.m_lpsz);
        const unsigned given = m_bytes.itemCount() < kBufferSize ? m_bytes.itemCount() : kBufferSize;
        m_bytes.parse(static_cast<const std::string *>(nullptr));
        m_code.m_strlen = given;
        for (unsigned i = 0; i + 1 < given; ++i)
            if (m_code.m_lpsz[i] == 0 && m_code.m_lpsz[i + 1] == 0) {
                m_code.m_strlen = i;
                break;
            }
        return true;
    }
    void run() override
    {
        m_code.scramble();
        m_APIRet = 0;
    }
    // The text up to its first zero byte, within the 64 bytes even when
    // none of them is zero; bytes that are not printable show as "?".
    void buildXML() override
    {
        KXAPIOperator::buildXML();
        m_xml.addValue("szsource", kxText(m_code.m_lpsz, kBufferSize), "string");
        m_code.clear();
    }

private:
    ArraySplitParser<KX_U8> m_bytes;
    StringCode m_code;
};
KX_OPERATOR_NAME(StringDecode, "KX_StringDecode")
KX_REGISTER_OPERATOR(StringDecode)
