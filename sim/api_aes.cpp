// Disk encryption: key entries, encryption ports and their links, and
// bringing a disk online by force. The state is the family of fam_aes.h.
#include "api.h"

#include <cstring>

#include "fam_aes.h"
#include "kx_records_ext.h"

using namespace sim;

namespace {

// aes_entry_info has room for this many port-entry pairs and entries.
constexpr unsigned kInfoPorts = 4;
constexpr unsigned kInfoEntries = 10;

// An operation of an adapter with encryption (MaxAESPort and MaxAESEntry
// nonzero); others answer "Not supported".
template <class Body>
KX_U8 onAesAdapter(const char *op, KX_U8 adapter, Body body)
{
    return onAdapter(op, adapter, [&](Session &s, Adapter &a) -> uint8_t {
        if (a.info.MaxAESPort == 0 || a.info.MaxAESEntry == 0)
            return KX_ST_NOT_SUPPORTED;
        return body(s, a, aesData(a));
    });
}

bool sameField(const uint8_t *x, const uint8_t *y)
{
    uint8_t diff = 0;
    for (unsigned i = 0; i < kAesFieldSize; ++i)
        diff |= static_cast<uint8_t>(x[i] ^ y[i]);
    return diff == 0;
}

bool emptyField(const uint8_t *x)
{
    static const uint8_t zero[kAesFieldSize] = {};
    return sameField(x, zero);
}

// The key of a request: its first key_length bytes, zero after them, so
// that a key set with its own length and the same key sent with the full
// field length (as the command line does) are the same key.
uint8_t readKey(uint8_t length, const uint8_t *content, uint8_t (&key)[kAesFieldSize])
{
    if (length == 0 || length > kAesFieldSize)
        return KX_ST_AES_KEY_LENGTH;
    std::memset(key, 0, sizeof key);
    std::memcpy(key, content, length);
    return emptyField(key) ? KX_ST_AES_KEY_LENGTH : KX_ST_OK;
}

// The entry of a request that must hold a key and be opened with its
// password.
uint8_t openEntry(const Adapter &a, AesData &d, uint8_t id, const uint8_t *password, AesEntry *&out)
{
    if (id >= a.info.MaxAESEntry)
        return KX_ST_AES_ENTRY_RANGE;
    auto it = d.entries.find(id);
    if (it == d.entries.end())
        return KX_ST_AES_ENTRY_NO_KEY;
    if (!sameField(it->second.password, password))
        return KX_ST_AES_PASSWORD_MISMATCH;
    out = &it->second;
    return KX_ST_OK;
}

// The paging checks with the encryption family's own statuses, then the
// common pager over IDs 0 .. count - 1.
template <class Rec, class Build>
uint8_t aesPage(void *request, unsigned count, uint8_t outOfRange, Build build)
{
    if (!request)
        return KX_ST_INVALID_PARAM;
    RequestHeader *h = static_cast<RequestHeader *>(request);
    if (h->requestType != KX_REQUEST_BY_INDEX && h->requestType != KX_REQUEST_BY_ID)
        return KX_ST_AES_REQUEST_TYPE;
    if (h->numRequested == 0)
        return KX_ST_AES_COUNT;
    std::map<uint16_t, uint8_t> ids;
    for (unsigned i = 0; i < count; ++i)
        ids[static_cast<uint16_t>(i)] = static_cast<uint8_t>(i);
    return pageList<Rec>(request, ids, All(), [&](uint8_t id, Rec &r) {
        std::memset(&r, 0, sizeof r);
        build(id, r);
    }, outOfRange);
}

// What a disk's HD_Config shows of the last forced online: the
// percentage, read as tenths (1 .. 10) or as percent (100).
void showPercentage(PD &pd, uint8_t percent)
{
    Overlay *o = pd.ov.find(&kRecord_HD_Config);
    json values = o ? o->source : json::object();
    values["AESPercentage"] = percent;
    Overlay compiled;
    std::string error;
    if (!compileOverlay(&kRecord_HD_Config, values, "HD_Config", compiled, error))
        return;
    if (o)
        *o = compiled;
    else
        pd.ov.list.push_back(compiled);
}

}  // namespace

SIM_EXPORT KX_U8 KX_AES_GetPortConfig(KX_U8 adapter, AES_Port_Config_Request *request)
{
    SIM_GUARD(return onAesAdapter("KX_AES_GetPortConfig", adapter, [&](Session &, Adapter &a, AesData &d) -> uint8_t {
        return aesPage<AES_Port_Config>(request, a.info.MaxAESPort, KX_ST_AES_PORT_RANGE, [&](uint8_t id, AES_Port_Config &r) {
            r.port_id = id;
            r.aes_enable = d.port(id).enabled;
        });
    });)
}

SIM_EXPORT KX_U8 KX_AES_SetPortConfig(KX_U8 adapter, AES_Port_Config *config)
{
    SIM_GUARD(return onAesAdapter("KX_AES_SetPortConfig", adapter, [&](Session &s, Adapter &a, AesData &d) -> uint8_t {
        if (!config)
            return KX_ST_INVALID_PARAM;
        if (config->port_id >= a.info.MaxAESPort)
            return KX_ST_AES_PORT_RANGE;
        AesPort p = d.port(config->port_id);
        // Encryption needs the key of the entry the port is linked to.
        if (config->aes_enable && !d.entries.count(p.entry))
            return KX_ST_KEY_ABSENT;
        p.enabled = config->aes_enable != 0;
        d.ports[config->port_id] = p;
        s.changed();
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_AES_OnlyGetPortInfo(KX_U8 adapter, AES_PORT_INFO_Request *request)
{
    SIM_GUARD(return onAesAdapter("KX_AES_OnlyGetPortInfo", adapter, [&](Session &, Adapter &a, AesData &d) -> uint8_t {
        return aesPage<AES_PORT_INFO>(request, a.info.MaxAESPort, KX_ST_AES_PORT_RANGE, [&](uint8_t id, AES_PORT_INFO &r) {
            r.id = id;
            r.entry = d.port(id).entry;
        });
    });)
}

SIM_EXPORT KX_U8 KX_AES_GetEntryInfo(KX_U8 adapter, aes_entry_info *info)
{
    SIM_GUARD(return onAesAdapter("KX_AES_GetEntryInfo", adapter, [&](Session &, Adapter &a, AesData &d) -> uint8_t {
        if (!info)
            return KX_ST_INVALID_PARAM;
        // A controller with more ports or entries than the record holds
        // answers only the paged calls.
        if (a.info.MaxAESPort > kInfoPorts || a.info.MaxAESEntry > kInfoEntries)
            return KX_ST_NOT_SUPPORTED;
        std::memset(info, 0, sizeof *info);
        for (unsigned p = 0; p < kInfoPorts; ++p) {
            bool present = p < a.info.MaxAESPort;
            info->aes_port[p][0] = present ? static_cast<KX_U8>(p) : kAesNoEntry;
            info->aes_port[p][1] = present ? d.port(static_cast<uint8_t>(p)).entry : kAesNoEntry;
        }
        for (const auto &e : d.entries)
            info->entry[e.first] = 1;
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_AES_OnlyGetEntryInfo(KX_U8 adapter, AES_KEY_ENTRY_INFO_Request *request)
{
    SIM_GUARD(return onAesAdapter("KX_AES_OnlyGetEntryInfo", adapter, [&](Session &, Adapter &a, AesData &d) -> uint8_t {
        return aesPage<AES_KEY_ENTRY_INFO>(request, a.info.MaxAESEntry, KX_ST_AES_ENTRY_RANGE,
                                           [&](uint8_t id, AES_KEY_ENTRY_INFO &r) {
                                               r.id = id;
                                               r.status = d.entries.count(id) ? 1 : 0;
                                           });
    });)
}

SIM_EXPORT KX_U8 KX_AES_GetEntryConfig(KX_U8 adapter, AES_Entry_Config_Request *request)
{
    SIM_GUARD(return onAesAdapter("KX_AES_GetEntryConfig", adapter, [&](Session &, Adapter &a, AesData &d) -> uint8_t {
        if (!request)
            return KX_ST_INVALID_PARAM;
        RequestHeader &h = request->header;
        // One entry at a time: the record asked with carries its password.
        if (h.requestType != KX_REQUEST_BY_ID)
            return KX_ST_AES_REQUEST_TYPE;
        if (h.numRequested == 0)
            return KX_ST_AES_COUNT;
        h.numReturned = 0;
        h.nextStartingIndex = KX_END_OF_LIST;
        if (h.startingIndexOrId > 0xFF)
            return KX_ST_AES_ENTRY_RANGE;
        AES_Entry_Config &r = request->aesEntryConfig[0];
        AesEntry *e = nullptr;
        if (uint8_t st = openEntry(a, d, static_cast<uint8_t>(h.startingIndexOrId), r.user_auth, e))
            return st;
        // The key and the password never leave the controller.
        std::memset(&r, 0, sizeof r);
        r.entry_id = static_cast<KX_U8>(h.startingIndexOrId);
        r.key_length = e->keyLength;
        h.numReturned = 1;
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_AES_SetEntryConfig(KX_U8 adapter, AES_Entry_Config *config)
{
    SIM_GUARD(return onAesAdapter("KX_AES_SetEntryConfig", adapter, [&](Session &s, Adapter &a, AesData &d) -> uint8_t {
        if (!config)
            return KX_ST_INVALID_PARAM;
        if (config->entry_id >= a.info.MaxAESEntry)
            return KX_ST_AES_ENTRY_RANGE;
        AesEntry next;
        if (uint8_t st = readKey(config->key_length, config->key_content, next.key))
            return st;
        next.keyLength = config->key_length;
        auto it = d.entries.find(config->entry_id);
        if (it != d.entries.end()) {
            // A new key for an entry in use: only with its password, which
            // stays.
            if (!sameField(it->second.password, config->user_auth))
                return KX_ST_AES_PASSWORD_MISMATCH;
            std::memcpy(next.password, it->second.password, kAesFieldSize);
        } else {
            if (emptyField(config->user_auth))
                return KX_ST_INVALID_PARAM;
            std::memcpy(next.password, config->user_auth, kAesFieldSize);
        }
        d.entries[config->entry_id] = next;
        s.changed();
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_AES_SetLink(KX_U8 adapter, entry_link *link)
{
    SIM_GUARD(return onAesAdapter("KX_AES_SetLink", adapter, [&](Session &s, Adapter &a, AesData &d) -> uint8_t {
        if (!link)
            return KX_ST_INVALID_PARAM;
        if (link->port_id >= a.info.MaxAESPort)
            return KX_ST_AES_PORT_RANGE;
        AesEntry *e = nullptr;
        if (uint8_t st = openEntry(a, d, link->entry, link->user_auth, e))
            return st;
        AesPort p = d.port(link->port_id);
        p.entry = link->entry;
        d.ports[link->port_id] = p;
        s.changed();
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_AES_ClearLink(KX_U8 adapter, KX_U8 port)
{
    SIM_GUARD(return onAesAdapter("KX_AES_ClearLink", adapter, [&](Session &s, Adapter &a, AesData &d) -> uint8_t {
        if (port >= a.info.MaxAESPort)
            return KX_ST_AES_PORT_RANGE;
        // Without its key the port cannot encrypt any more.
        d.ports.erase(port);
        s.changed();
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_AES_VerifyKey(KX_U8 adapter, AES_Entry_Verify *verify)
{
    SIM_GUARD(return onAesAdapter("KX_AES_VerifyKey", adapter, [&](Session &, Adapter &a, AesData &d) -> uint8_t {
        if (!verify)
            return KX_ST_INVALID_PARAM;
        uint8_t key[kAesFieldSize];
        if (uint8_t st = readKey(verify->key_length, verify->key_content, key))
            return st;
        AesEntry *e = nullptr;
        if (uint8_t st = openEntry(a, d, verify->entry_id, verify->user_auth, e))
            return st;
        return sameField(e->key, key) ? KX_ST_OK : KX_ST_AES_KEY_MISMATCH;
    });)
}

SIM_EXPORT KX_U8 KX_AES_ChangePwd(KX_U8 adapter, AES_Change_Passwd *change)
{
    SIM_GUARD(return onAesAdapter("KX_AES_ChangePwd", adapter, [&](Session &s, Adapter &a, AesData &d) -> uint8_t {
        if (!change)
            return KX_ST_INVALID_PARAM;
        AesEntry *e = nullptr;
        if (uint8_t st = openEntry(a, d, change->entry_id, change->old_user_auth, e))
            return st;
        if (emptyField(change->new_user_auth))
            return KX_ST_INVALID_PARAM;
        std::memcpy(e->password, change->new_user_auth, kAesFieldSize);
        s.changed();
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_AES_ForcePDOnline(KX_U8 adapter, AES_Entry_Config *entry, KX_U16 hdId, KX_U8 percentage)
{
    SIM_GUARD(return onAesAdapter("KX_AES_ForcePDOnline", adapter, [&](Session &s, Adapter &a, AesData &) -> uint8_t {
        if (!entry)
            return KX_ST_INVALID_PARAM;
        if (percentage == 0 || (percentage > 10 && percentage != 100))
            return KX_ST_OUT_OF_RANGE;
        PD *pd = a.findPD(hdId);
        if (!pd || !pd->visible())
            return KX_ST_BAD_PD;
        if (pd->state != PD::OFFLINE)
            return KX_ST_AES_NOT_OFFLINE;
        auto before = a.vdStatuses();
        pd->state = PD::ONLINE;
        pd->ov.dropField(&kRecord_HD_Config, "Online");
        pd->ov.dropField(&kRecord_HD_RAID_Status, "Status");
        showPercentage(*pd, static_cast<uint8_t>(percentage == 100 ? 100 : percentage * 10));
        a.queueEvent(EVC_PD, 1, hdId, SEV_INFO);
        a.queueVdStatusChanges(before);
        s.changed();
        return KX_ST_OK;
    });)
}
