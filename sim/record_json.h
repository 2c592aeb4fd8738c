// Packed controller records to and from JSON, driven by the by-name field
// table of kx_record_fields.h, so that no record's field list is written a
// second time here.
#ifndef SIM_RECORD_JSON_H
#define SIM_RECORD_JSON_H

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "kx_record_fields.h"

namespace sim {

using json = nlohmann::json;

// The values a fixture gives for some fields of one record, compiled into a
// byte mask and the bytes to put under it. Laying an overlay over a record is
// then a plain masked copy, cheap enough for every list call; bit fields get
// bit-wide masks. The JSON it came from is kept so that the state file can be
// written back exactly as given.
struct Overlay {
    const KXRecordDesc *desc = nullptr;
    std::vector<uint8_t> mask;
    std::vector<uint8_t> value;
    json source;  // the object as given (only the named fields)

    bool empty() const { return desc == nullptr; }
    void apply(void *record) const;
    // Forgets the given value of one top-level field, so that the modelled
    // value shows again (used when the library itself changes that field).
    void dropField(const char *field);
};

// Compiles `obj` (a JSON object of field values) for record `desc`.
// On failure returns false and sets `error` to a message that names the
// field by `where` + field path.
bool compileOverlay(const KXRecordDesc *desc, const json &obj, const std::string &where,
                    Overlay &out, std::string &error);

// Writes every field of `record` as JSON. Text fields that are not plain
// printable ASCII come out as lists of byte values, which compileOverlay
// accepts too, so a dump always reads back to the same bytes.
json dumpRecord(const KXRecordDesc *desc, const void *record);

// Convenience: compile `obj` and lay it over `record` in one go.
bool applyJson(const KXRecordDesc *desc, const json &obj, const std::string &where,
               void *record, std::string &error);

// Finds the field description of a top-level field by name.
const KXFieldDesc *findField(const KXRecordDesc *desc, const char *name);

}  // namespace sim

#endif
