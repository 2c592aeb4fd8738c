/*
 * arrayconf replace: the guarded replacement of a failed disk. The
 * arguments after the word "replace"; returns the exit status.
 */
#ifndef CONF_REPLACE_H
#define CONF_REPLACE_H

namespace conf {

int runReplace(int argc, char **argv);

} // namespace conf

#endif /* CONF_REPLACE_H */
