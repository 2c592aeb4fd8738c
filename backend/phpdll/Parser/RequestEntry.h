#ifndef KX_REQUEST_ENTRY_H
#define KX_REQUEST_ENTRY_H

class KXRequestHandle;
class KXPids;

// Module-wide objects and the entry points the PHP glue calls.

// Builds the dispatcher (every operator) and starts the process registry
// afresh. Called at module startup.
void initHandle();
// Destroys the dispatcher and finalizes the controller library.
void closeHandle();

// One request: *result is the response text (empty for an empty request)
// and sizeString its length. 0 on success, else the dispatcher's status.
// The first non-empty request of a process initialises the controller
// library and records the process in the registry.
int issueXML(const char *XMLCmd, const char **result, unsigned &sizeString);

KXRequestHandle *currentHandle();
KXPids &pidsManagement();

#endif
