// The daemon's log: one line "<pid> - <asctime>: <message>" per call,
// appended to arraywatch.log in the data directory. The file is opened and
// closed for every line so that the stop command and the daemon, two
// processes, can append to it in turn.
#ifndef ARRAYWATCH_LOG_H
#define ARRAYWATCH_LOG_H

// Returns the message length, or 0 when the buffers could not be had.
// A line that cannot be written (no data directory) is dropped silently.
int LogPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

int InitLog();   // 0 when the log file is open for appending, else 1
int CloseLog();  // 0 when it was open and is closed now, else 1

// The current local time as asctime prints it, newline included.
const char* NowToStr();

#endif
