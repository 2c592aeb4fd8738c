// The state document's keys, one table per kind of object: each key with
// the model member it holds, how its value is spelled, its limits and its
// enumeration words. The reader (state_read.cpp) and the writer
// (state_write.cpp) both work from these tables, so a key is spelled once;
// the tables are also the reference for the keys sim/README.md documents
// (a test checks that it names every one).
#ifndef SIM_STATE_DOC_H
#define SIM_STATE_DOC_H

#include <string>
#include <variant>
#include <vector>

#include "family.h"
#include "kx_record_fields.h"
#include "model.h"

namespace sim {

// One word of an enumeration key and the value it stands for.
struct Word {
    const char *word;
    uint8_t value;
};

struct Words {
    const char *what;  // "disk state", in messages
    std::vector<Word> list;

    const Word *find(const std::string &word) const;
    // The word of a value; the first word for a value without one.
    const char *wordOf(uint8_t value) const;
    bool has(uint8_t value) const;
    std::string joined() const;  // "online, offline, missing"
};

// How a key's value is spelled in the document.
enum class Spelling : uint8_t {
    Id,              // the object's "id" (read with the list's limit)
    Number,          // an unsigned integer from min to max
    Flag,            // true or false (1 or 0 as well)
    Text,            // a string
    Word,            // one of `words` (with max nonzero: or a number up to max)
    OptionalId,      // an ID up to 0xFFFE, or null for none (kNone16)
    Spare,           // "global", the ID of an array, or null for none
    OptionalNumber,  // a number up to max, or null for none (-1)
    Members,         // a list of IDs, null for a member slot that lost its disk
    Ids,             // a list of IDs
    Parent,          // an object of kParentFields
    Activity,        // an object of kActivityFields
    Percent,         // a number from 0 to 100
    Speed,           // a number, finite and not negative
    Millis,          // an integer: milliseconds since 1970
    Special,         // read and written by the object's own code
};

// The parts of the document that a table names but the reader and writer
// handle in their own code (lists of objects, faults, migration targets).
enum class Part : uint8_t {
    Faults,
    Enclosures,
    Expanders,
    Pms,
    Pds,
    Arrays,
    Blocks,
    Vds,
    Events,
    Allocation,  // a VD's disks to allocate its blocks on; read only
    Target,
};

// The model member a key holds, or the Part it names (Special).
template <class T>
using Member = std::variant<std::monostate, Part, uint8_t T::*, uint16_t T::*, uint32_t T::*, uint64_t T::*, int T::*,
                            int64_t T::*, double T::*, bool T::*, std::string T::*, std::vector<uint16_t> T::*,
                            ParentLink T::*, Bga T::*>;

template <class T>
struct Field {
    const char *key;
    Spelling spelling;
    Member<T> member;
    uint64_t max = 0;
    const Words *words = nullptr;
    // Whether the writer writes the key for this object; null: always.
    bool (*written)(const T &) = nullptr;
    uint64_t min = 0;                // Number: the least value,
    const char *belowMin = nullptr;  // and what a smaller one is told
};

template <class T>
struct ObjectFields {
    const char *what;  // "a physical disk", in messages
    std::vector<Field<T>> fields;
    // Controller records whose values objects of this kind take.
    std::vector<const KXRecordDesc *> records;
    // The adapter's list of these objects (for the families' keys).
    const char *list = nullptr;
    // IDs stay below this limit of the adapter (0 or null: no limit).
    uint64_t (*idLimit)(const Adapter &) = nullptr;
    const char *limitName = "";

    const Field<T> *find(const std::string &key) const
    {
        for (const Field<T> &f : fields)
            if (key == f.key)
                return &f;
        return nullptr;
    }
    // Compared by name: every file has its own copy of a record's table.
    bool carries(const KXRecordDesc *record) const
    {
        for (const KXRecordDesc *r : records)
            if (std::string(r->name) == record->name)
                return true;
        return false;
    }
    // The key of the field that holds a member.
    template <class M>
    const char *keyFor(M T::*member) const
    {
        for (const Field<T> &f : fields)
            if (const auto *p = std::get_if<M T::*>(&f.member))
                if (*p == member)
                    return f.key;
        return "";
    }
    // The key of a Special part.
    const char *keyOf(Part part) const
    {
        for (const Field<T> &f : fields)
            if (const Part *p = std::get_if<Part>(&f.member))
                if (*p == part)
                    return f.key;
        return "";
    }
};

// The document's own keys: its adapters, and the faults of operations
// without an adapter (spelled as an adapter's faults).
constexpr const char *kDocumentAdapters = "adapters";

extern const ObjectFields<Adapter> kAdapterFields;
extern const ObjectFields<PD> kPdFields;
extern const ObjectFields<Block> kBlockFields;
extern const ObjectFields<VD> kVdFields;
// A VD's layout keys; as a migration's target they carry LD_Info too.
extern const ObjectFields<Layout> kLayoutFields;
extern const ObjectFields<Array> kArrayFields;
extern const ObjectFields<ArrayTarget> kArrayTargetFields;
extern const ObjectFields<PM> kPmFields;
extern const ObjectFields<Expander> kExpanderFields;
extern const ObjectFields<Enclosure> kEnclosureFields;
extern const ObjectFields<ParentLink> kParentFields;
// A counted fault entry (a plain status number is a fault of every call).
extern const ObjectFields<Fault> kFaultFields;
extern const ObjectFields<Bga> kActivityFields;

// The keys and enumeration words of each table: what the documentation
// must name.
struct DocumentedNames {
    std::string table;
    std::vector<std::string> keys, words;
};
std::vector<DocumentedNames> stateDocumentNames();

// ---- defaults (state_defaults.cpp) ----

constexpr uint64_t kDefaultDiskKiB = 976762584;   // a "1 TB" disk
constexpr uint64_t kDefaultBlockKiB = 104857600;  // 100 GiB

// The records of the default adapter (by its number).
void defaultAdapterRecords(Adapter &a);
// A disk as it is when the document gives only its ID.
PD defaultPD(const Adapter &a, uint16_t id);

}  // namespace sim

#endif
