#ifndef KX_STRUCT_PARSER_H
#define KX_STRUCT_PARSER_H

#include <cstddef>
#include <cstring>
#include <type_traits>

#include "DataType/SingleType/ArrayParser.h"
#include "DataType/SingleType/SingleTypeParser.h"
#include "Parser/ValuesMap.h"
#include "kx_records.h"

// Reads one parameter into one field of a packed record: when the request
// carries name the field gets its value, when it does not the field gets
// the parser's default, or stays as it was. Goes through a copy because a
// packed field cannot be bound to a reference.
#define KX_READ_FIELD(params, name, parser, field)            \
    do {                                                      \
        auto kx_value_ = (field);                             \
        (parser).parse(findValue((params), (name)));          \
        (parser).setValue(kx_value_);                         \
        (field) = kx_value_;                                  \
    } while (0)

// Reads a name or ID-list parameter into the array field member of record.
#define KX_READ_ARRAY(params, name, parser, record, member)                                  \
    do {                                                                                     \
        (parser).parse(findValue((params), (name)));                                         \
        (parser).setValue(reinterpret_cast<unsigned char *>(&(record)) +                     \
                          offsetof(typename std::remove_reference<decltype(record)>::type, member)); \
    } while (0)

// Fills a whole controller record from a request's parameter map. The
// record lives as long as the parser (that is, the operator), so a parser
// that does not clear it keeps what the previous request left.
template <typename T>
class StructParser {
public:
    StructParser() : m_adapterID(0) { std::memset(&m_struct, 0, sizeof m_struct); }
    virtual ~StructParser() {}
    virtual void parse(ValuesMap &params) = 0;
    T &getStruct() { return m_struct; }
    const T &getStruct() const { return m_struct; }

protected:
    void clear() { std::memset(&m_struct, 0, sizeof m_struct); }
    T m_struct;
    KX_U8 m_adapterID;
};

// Parsers of records that change an existing object: they know the
// object's ID and can ask the controller for its current record first
// (read-modify-write), so only the fields a request names change.
template <typename T>
class ConfigParser : public StructParser<T> {
public:
    ConfigParser() : m_ID(0) {}

    // Only "AdapterID" counts here; true when the request carries it.
    bool getAdapterID(ValuesMap &params)
    {
        const std::string *text = findValue(params, "AdapterID");
        if (!text)
            return false;
        this->m_adapterID = U8Parser::read(*text);
        return true;
    }
    // The object's ID from idParser's last parse; an absent ID keeps the
    // previous request's.
    void getID(U16Parser &idParser) { idParser.setValue(m_ID); }
    // A request for exactly the one record whose ID is m_ID.
    void buildeRequestHeader(RequestHeader &header) const
    {
        std::memset(&header, 0, sizeof header);
        header.requestType = KX_REQUEST_BY_ID;
        header.startingIndexOrId = m_ID;
        header.numRequested = 1;
    }
    KX_U16 getIDValue() const { return m_ID; }
    KX_U8 getAdapterValue() const { return this->m_adapterID; }

protected:
    KX_U16 m_ID;
};

// The paging header of every list request.
class RequestParser : public StructParser<RequestHeader> {
public:
    void parse(ValuesMap &params) override;

private:
    U8Parser m_requestType;
    U16Parser m_startingIndexOrId;
    U16Parser m_numRequested;
};

#endif
