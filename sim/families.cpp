// The list of families (see family.h). A new family declares its `Family`
// object kXxxFamily in its header, defines it in its own file and adds one
// line here.
#include "family.h"

#include "fam_aes.h"
#include "fam_enclosure.h"
#include "fam_nvsram.h"
#include "fam_smart.h"
#include "fam_ssd.h"
#include "fam_tandem.h"

namespace sim {

const std::vector<const Family *> &families()
{
    static const std::vector<const Family *> list = {
        &kAesFamily, &kNvsramFamily, &kTandemFamily, &kSmartFamily, &kEnclosureFamily, &kSsdFamily,
    };
    return list;
}

bool familyOwnsKey(const char *list, const std::string &key)
{
    const std::string l = list;
    for (const Family *f : families()) {
        if (l == "adapter") {
            for (const std::string &k : f->adapterKeys)
                if (k == key)
                    return true;
            continue;
        }
        for (const auto &k : f->objectKeys)
            if (k.first == l && k.second == key)
                return true;
    }
    return false;
}

const json *docObject(const json &doc, const char *list, uint16_t id)
{
    if (!doc.is_object() || !doc.contains(list) || !doc[list].is_array())
        return nullptr;
    for (const json &o : doc[list])
        if (o.is_object() && o.contains("id") && o["id"].is_number_integer() && o["id"].get<int64_t>() == id)
            return &o;
    return nullptr;
}

json *docObject(json &doc, const char *list, uint16_t id)
{
    return const_cast<json *>(docObject(static_cast<const json &>(doc), list, id));
}

}  // namespace sim
