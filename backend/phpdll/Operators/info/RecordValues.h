#ifndef KX_RECORD_VALUES_H
#define KX_RECORD_VALUES_H

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "Operators/request/RequestOperator.h"
#include "Parser/ValuesMap.h"
#include "Parser/ValuesMap2XML.h"
#include "kx_records.h"

// The bytes of an array member of a packed record. Array fields are read
// through a byte pointer and copied element by element: taking the address
// of a packed member as a wider pointer would be unaligned.
#define KX_MEMBER_BYTES(record, Type, member) \
    (reinterpret_cast<const unsigned char *>(&(record)) + offsetof(Type, member))

// Every element of a 64-bit array field, decimal, blank-separated.
std::string kxNumberList64(const unsigned char *bytes, unsigned count);
// Every element of a 16-bit array field given as raw record bytes.
std::string kxNumberList16(const unsigned char *bytes, unsigned count);

// The members of a VD record, as the VD list shows them.
ValuesMap kxLDInfoValues(const LD_Info &record);

// The members of one end of a topology link.
ValuesMap kxLinkEndpointValues(const Link_Endpoint &endpoint);

// One record struct whose first child is its topology link ("Link", with
// "Parent" and "Self"), followed by the record's own members.
void kxAddLinkedStruct(ValuesMap2XML &xml, const std::string &name, const Link_Entity &link,
                       const ValuesMap &members);

// A paged list whose records carry a Link_Entity: the link of every record
// is kept next to its members and printed first inside its struct.
class LinkedListOperator : public RequestOperator {
public:
    explicit LinkedListOperator(const std::string &requestName) : RequestOperator(requestName) {}
    void addBody() override;

protected:
    // Lists the records of Request; toMap fills the members of one record.
    template <typename Request, typename ToMap>
    void runLinkedList(ToMap toMap)
    {
        m_links.clear();
        runList<Request>([this, &toMap](const auto &record, ValuesMap &out) {
            Link_Entity link;
            std::memcpy(&link, &record.Link, sizeof link);
            m_links.push_back(link);
            toMap(record, out);
        });
    }

    std::vector<Link_Entity> m_links;
};

#endif
