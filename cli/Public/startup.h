/*
 * Start-up and the interactive shell of arrayctl.
 */
#ifndef CLI_STARTUP_H
#define CLI_STARTUP_H

/* The whole program: start-up, one command or the shell, finalization.
   Returns the process exit status. */
int cliMain(int argc, char **argv);

/* How the host's hardware clock runs, from a clock configuration file
   (HWCLOCK="-u" / HWCLOCK="--localtime", else UTC=true / UTC=false):
   0 UTC, 1 local time, 2 undetermined (no file, no setting). */
int UTCStatus_Init(const char *path);

/* Asks the SCSI generic device for its driver version, at most twice,
   waiting waitSeconds after each failed try. Reports only; start-up goes
   on whatever the outcome. Returns true when a usable driver answered. */
bool probeSgDriver(const char *device, unsigned waitSeconds);

/* Reads lines with the line editor until exit/quit or end of input.
   Returns 0. */
int runShell();

/* One shell line: length and word checks, splitting, dispatch. Returns
   the dispatcher's result (-1 ends the shell). */
int shellExecuteLine(const char *line);

#endif /* CLI_STARTUP_H */
