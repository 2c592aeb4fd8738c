#ifndef KX_CONFIG_PARSERS_H
#define KX_CONFIG_PARSERS_H

#include "APIClass/ReadByID.h"
#include "DataType/StructType/StructParser.h"

// Settings records changed in place. The parser reads the object's
// current record from the controller first, so that the record written
// back differs only in the fields the request names; a record that could
// not be read must not be written back (readStatus() says why), since
// whatever the parser holds instead (zeros, or another object's record
// from an earlier request) would overwrite settings nobody asked to
// change.
//
// The adapter is the one the operator addresses, under either spelling of
// its parameter: a record read from anywhere else is not the one that is
// about to be replaced.
template <typename T>
class ReadModifyWriteParser : public ConfigParser<T> {
public:
    ReadModifyWriteParser() : m_readStatus(kxRecordNotReturned) {}
    void setAdapter(KX_U8 adapter) { this->m_adapterID = adapter; }
    KX_U8 readStatus() const { return m_readStatus; }

protected:
    // The ID parameter (an absent one keeps the previous request's object),
    // then the current record of that object through Request.
    template <typename Request>
    void readCurrent(ValuesMap &params, const char *idName)
    {
        m_idParser.parse(findValue(params, idName));
        this->getID(m_idParser);
        m_readStatus = kxReadByID<Request>(this->m_adapterID, this->m_ID, this->m_struct);
    }

    U8Parser m_u8;

private:
    U16Parser m_idParser;
    KX_U8 m_readStatus;
};

// A name given replaces the whole field, so that a shorter name leaves
// nothing of the old one behind; a request without "Name" keeps it.
template <typename Record>
void kxReadName(ValuesMap &params, NameParser &parser, Record &record, std::size_t offset)
{
    unsigned char *field = reinterpret_cast<unsigned char *>(&record) + offset;
    if (findValue(params, "Name"))
        std::memset(field, 0, 16);
    parser.parse(findValue(params, "Name"));
    parser.setValue(field);
}

// "KX_LD_SetConfig": "LDID" first, then the VD's current settings.
class LDConfigParser : public ReadModifyWriteParser<LD_Config> {
public:
    LDConfigParser() : m_name(16) {}
    void parse(ValuesMap &params) override;

private:
    NameParser m_name;
};

// "KX_DG_SetConfig": "DGID" first, then the array's current settings.
class DGConfigParser : public ReadModifyWriteParser<DG_Config> {
public:
    DGConfigParser() : m_name(16) {}
    void parse(ValuesMap &params) override;

private:
    NameParser m_name;
};

// "KX_PD_SetConfig": cleared, "HDID" first, then the disk's current
// settings.
class PDConfigParser : public ReadModifyWriteParser<HD_Config> {
public:
    void parse(ValuesMap &params) override;
};

// "KX_Adapter_SetConfig": the adapter's current configuration with the
// thirteen settings the GUI offers laid over it. The record holds more
// than those (ATAPI, SGPIO, the raw image update lock, PHY control), which
// other tools change and a GUI request must not reset.
class AdapterConfigParser : public StructParser<Adapter_Config_V2> {
public:
    AdapterConfigParser() : m_readStatus(kxRecordNotReturned) {}
    void setAdapter(KX_U8 adapter) { m_adapterID = adapter; }
    KX_U8 readStatus() const { return m_readStatus; }
    void parse(ValuesMap &params) override;

private:
    U8Parser m_u8;
    KX_U8 m_readStatus;
};

#endif
