#ifndef KX_TRACE_H
#define KX_TRACE_H

#include <cstdio>
#include <string>

// Trace lines of the module go to the web server's standard output. Each
// line is flushed at once so that it cannot end up behind (or in the middle
// of) what the interpreter itself writes to the same descriptor.
void kxTrace(const char *format, ...) __attribute__((format(printf, 1, 2)));

// Where trace lines go; null silences them (fuzzing, benchmarks).
void kxTraceSetStream(FILE *stream);

// The request text with the values of secret parameters (passwords, keys,
// authentication strings) replaced by "********", so a trace never shows
// them. Everything else is kept byte for byte. Works on malformed text too:
// a secret element that is never closed is masked to the end of the text.
std::string kxMaskSecrets(const char *xml);

// True for parameter names whose values must never be traced.
bool kxIsSecretName(const std::string &name);

#endif
