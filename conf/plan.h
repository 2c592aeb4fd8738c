/*
 * The plan: the steps that make the controller match a document, in the
 * order they run, and the refusals found before any of them runs.
 *
 * Objects are matched by name (arrays, VDs) and disks by ID with their
 * serial number. An array or VD whose layout differs from the document's
 * is deleted and made anew (the controller changes no layout in place
 * without a migration, which is not a configuration step); settings are
 * changed in place.
 */
#ifndef CONF_PLAN_H
#define CONF_PLAN_H

#include <map>
#include <string>
#include <vector>

#include "document.h"
#include "live.h"

namespace conf {

enum class StepKind {
    ReleaseSpare,
    DeleteVd,
    DeleteArray,
    CreateArray,
    CreateVd,
    AssignSpare,
    SetAdapter,
    SetArray,
    SetVd,
    SetDisk,
};

/* The word of a step kind in JSON output ("delete_vd", ...). */
const char *stepAction(StepKind k);

struct Step {
    StepKind kind = StepKind::SetAdapter;
    size_t adapter = 0;   /* index into Plan::adapters */
    std::string text;     /* one line: what the step does */
    bool destructive = false;
    std::string destroys; /* what is lost, for a destructive step */
    KX_U16 id = KX_ID_NONE; /* the existing VD, array or disk it acts on */
    int index = -1;       /* the document's array, VD, spare or disk it makes or sets */
};

struct PlanAdapter {
    const AdapterDoc *doc = nullptr;
    LiveAdapter live;
    /* Array IDs by the document's names: the arrays that stay; apply adds
       the ones it makes. */
    std::map<std::string, KX_U16> arrayIds;
};

struct Plan {
    std::vector<PlanAdapter> adapters;
    std::vector<Step> steps;
    /* Lines as arrayctl prints them (each ends with a newline). */
    std::vector<std::string> refusals;

    bool destructive() const;
};

/* A line as printf writes it (at most 511 bytes): the refusals and the
   failures of steps, in arrayctl's words. */
std::string fmt(const char *f, ...) __attribute__((format(printf, 1, 2)));

/* Reads every adapter the document names and plans. The library must be
   initialized. */
Plan makePlan(const Document &doc);

} // namespace conf

#endif /* CONF_PLAN_H */
