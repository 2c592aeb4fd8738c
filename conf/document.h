/*
 * The layout document: what arrayconf saves and what plan and apply make
 * the controller match. One JSON object; its shape is described in
 * README.md and raised in schema_version whenever it changes.
 *
 * Every value that describes a setting is optional: absent means "not
 * managed" (left as the controller has it). The layout itself (arrays,
 * VDs, spares) is always whole: what the document does not name is not
 * wanted.
 */
#ifndef CONF_DOCUMENT_H
#define CONF_DOCUMENT_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace conf {

constexpr int kSchemaVersion = 1;

/* A size in KiB, or all the room there is. Requests to the controller are
   in whole MB, so a number is always a multiple of 1024. */
struct Size {
    bool all = true;
    uint64_t kib = 0;
};

/* The adapter settings of Adapter_Config_V2; rates in percent. */
enum RateIndex { RATE_BACKGROUND, RATE_SYNC, RATE_INIT, RATE_REBUILD, RATE_MIGRATION, RATE_COPYBACK,
                 RATE_MEDIA_PATROL, RATE_COUNT };
enum FlagIndex { FLAG_ALARM, FLAG_AUTO_REBUILD, FLAG_SMART_POLLING, FLAG_COPY_BACK, FLAG_OPTIMIZE,
                 FLAG_MODULE_CONSOLIDATION, FLAG_COUNT };
extern const char *const kRateKeys[RATE_COUNT];
extern const char *const kFlagKeys[FLAG_COUNT];

struct Settings {
    std::optional<bool> flags[FLAG_COUNT];
    std::optional<int> rates[RATE_COUNT];
};

struct Disk {
    unsigned id = 0;
    std::optional<std::string> serial; /* absent: any disk at this ID (a portable document) */
    uint64_t size = 0;                 /* KiB; the disk there must have at least this much */
    std::optional<bool> writeCache, smart;
};

struct Array {
    std::string name;
    unsigned raid = 0;
    int parity = -1; /* RAID6 / RAID60 only; -1: the level's default */
    unsigned stripe = 64;
    std::vector<unsigned> disks;
    Size size;
    std::optional<bool> writeCache;
};

/* Write policies: CacheMode bits 0, 1 and 3. */
enum class WritePolicy { WriteBack = 0, WriteThrough = 1, Auto = 8 };
const char *writePolicyWord(WritePolicy p);

struct Vd {
    std::string name;
    unsigned raid = 0;
    int parity = -1;
    std::string array;          /* array-based adapters: the array it lives in */
    int slot = -1;              /* its place in the array (informative: VDs are made in this order) */
    std::vector<int> disks;     /* adapters without arrays: members in order; -1 a missing member */
    Size size;
    unsigned stripe = 64;
    std::optional<WritePolicy> writePolicy;
    std::optional<bool> readAhead;
};

struct Spare {
    unsigned disk = 0;
    std::string array; /* empty: a global spare */
};

struct AdapterDoc {
    unsigned number = 0;
    std::optional<std::string> serial;
    std::string model; /* informative */
    Settings settings;
    std::vector<Disk> disks;
    std::vector<Array> arrays;
    std::vector<Vd> vds;
    std::vector<Spare> spares;

    const Disk *disk(unsigned id) const;
    const Array *array(const std::string &name) const;
};

struct Document {
    std::vector<AdapterDoc> adapters;
};

/* Reads and checks a document. On failure returns false with a message
   that names the place ("adapters[0].vds[1].raid: ..."). */
bool parseDocument(const std::string &text, Document &doc, std::string &error);

/* The document as JSON text (two-space indent, a final newline), keys in
   a fixed order so that saving an unchanged controller twice gives the
   same bytes. */
std::string renderDocument(const Document &doc);

/* RAID level names of the document: the names of object listings
   ("RAID5", "RAID1e", "JBOD", "tandem safe", ...), case ignored. */
bool raidFromName(const std::string &name, unsigned &code);

} // namespace conf

#endif /* CONF_DOCUMENT_H */
