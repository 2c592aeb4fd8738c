// The records of the encryption requests, filled from a request's
// parameters. Every parser starts from a zeroed record, so that nothing of
// an earlier request (a longer password's tail, another entry's key) is
// sent with this one, and its wipe() clears the secrets again once the
// controller has them.
#ifndef KX_AES_PARSERS_H
#define KX_AES_PARSERS_H

#include "DataType/SingleType/SecretText.h"
#include "DataType/StructType/StructParser.h"
#include "kx_records.h"

template <typename T>
class AESStructParser : public StructParser<T> {
public:
    void wipe() { this->clear(); }

protected:
    template <std::size_t N>
    static void readText(ValuesMap &params, const char *name, KX_U8 (&field)[N])
    {
        kxReadSecretText(params, name, field, N);
    }
};

// AES_Entry_Config and AES_Entry_Verify: "entry_id", "key_length" (passed
// as it comes), "key_content", "user_auth".
template <typename T>
class EntryRecordParser : public AESStructParser<T> {
public:
    void parse(ValuesMap &params) override
    {
        this->clear();
        KX_READ_FIELD(params, "entry_id", m_entryID, this->m_struct.entry_id);
        KX_READ_FIELD(params, "key_length", m_keyLength, this->m_struct.key_length);
        this->readText(params, "key_content", this->m_struct.key_content);
        this->readText(params, "user_auth", this->m_struct.user_auth);
    }

private:
    U8Parser m_entryID;
    U8Parser m_keyLength;
};
typedef EntryRecordParser<AES_Entry_Config> EntryConfigParser;
typedef EntryRecordParser<AES_Entry_Verify> EntryVerifyParser;

class AESChangePWDParser : public AESStructParser<AES_Change_Passwd> {
public:
    void parse(ValuesMap &params) override
    {
        clear();
        KX_READ_FIELD(params, "entry_id", m_entryID, m_struct.entry_id);
        readText(params, "old_user_auth", m_struct.old_user_auth);
        readText(params, "new_user_auth", m_struct.new_user_auth);
    }

private:
    U8Parser m_entryID;
};

class EntryLinkParser : public AESStructParser<entry_link> {
public:
    void parse(ValuesMap &params) override
    {
        clear();
        KX_READ_FIELD(params, "port_id", m_portID, m_struct.port_id);
        KX_READ_FIELD(params, "entry", m_entry, m_struct.entry);
        readText(params, "user_auth", m_struct.user_auth);
    }

private:
    U8Parser m_portID;
    U8Parser m_entry;
};

class PortConfigParser : public AESStructParser<AES_Port_Config> {
public:
    void parse(ValuesMap &params) override
    {
        clear();
        KX_READ_FIELD(params, "port_id", m_portID, m_struct.port_id);
        KX_READ_FIELD(params, "aes_enable", m_enable, m_struct.aes_enable);
    }

private:
    U8Parser m_portID;
    U8Parser m_enable;
};

#endif
