// Enclosure elements: their status records and their thresholds, of one
// enclosure or (ID 255) of every enclosure in ID order.
#include "api.h"
#include "fam_enclosure.h"

using namespace sim;

namespace {

constexpr uint16_t kAllEnclosures = 0xFF;

KX_U16 magicOf(uint16_t enc, const EncElement &el)
{
    return static_cast<KX_U16>((enc << 8) | (el.type << 4) | el.id);
}

// Hands each element of the enclosures asked for to fill(enclosure,
// element, index) while there is room; *count is the room in and the
// number filled out.
template <class Fill>
uint8_t listElements(const char *op, KX_U8 adapter, KX_U16 encId, const void *records, KX_U8 *count, Fill fill)
{
    return onAdapter(op, adapter, [&](Session &, Adapter &a) -> uint8_t {
        if (!count || (*count && !records))
            return KX_ST_INVALID_PARAM;
        if (encId != kAllEnclosures && !a.enclosures.count(encId))
            return KX_ST_BAD_ENCLOSURE;
        const unsigned room = *count;
        unsigned n = 0;
        for (const auto &e : a.enclosures) {
            if (encId != kAllEnclosures && e.first != encId)
                continue;
            for (const EncElement &el : enclosureElements(a, e.first)) {
                if (n == room)
                    break;
                fill(e.first, el, n++);
            }
        }
        *count = static_cast<KX_U8>(n);
        return KX_ST_OK;
    });
}

}  // namespace

SIM_EXPORT KX_U8 KX_ENC_GetElementInfo(KX_U8 adapter, KX_U16 encId, EncElementType_Info *elements, KX_U8 *count)
{
    SIM_GUARD(return listElements("KX_ENC_GetElementInfo", adapter, encId, elements, count,
                                  [&](uint16_t enc, const EncElement &el, unsigned i) {
                                      EncElementType_Info r;
                                      std::memset(&r, 0, sizeof r);
                                      r.enclosureID = enc;
                                      r.magicID = magicOf(enc, el);
                                      r.type = el.type;
                                      r.status = el.status;
                                      r.elementID = el.id;
                                      std::memcpy(r.element.raw, el.data, sizeof r.element.raw);
                                      std::memcpy(&elements[i], &r, sizeof r);
                                  });)
}

SIM_EXPORT KX_U8 KX_ENC_GetElementConfig(KX_U8 adapter, KX_U16 encId, EncElement_Config *elements, KX_U8 *count)
{
    SIM_GUARD(return listElements("KX_ENC_GetElementConfig", adapter, encId, elements, count,
                                  [&](uint16_t enc, const EncElement &el, unsigned i) {
                                      EncElement_Config r;
                                      std::memset(&r, 0, sizeof r);
                                      r.enclosureID = enc;
                                      r.magicID = magicOf(enc, el);
                                      r.type = el.type;
                                      r.status = el.status;
                                      r.elementID = el.id;
                                      r.highCriticalThreshold = el.highCritical;
                                      r.highWarningThreshold = el.highWarning;
                                      r.lowCriticalThreshold = el.lowCritical;
                                      r.lowWarningThreshold = el.lowWarning;
                                      std::memcpy(&elements[i], &r, sizeof r);
                                  });)
}
