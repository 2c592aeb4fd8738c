// Where the daemon finds its files and the web GUI. Production values are
// fixed; tests and demos move them through the environment so that nothing
// outside a temporary directory is touched.
#ifndef ARRAYWATCH_SERVICE_PATHS_H
#define ARRAYWATCH_SERVICE_PATHS_H

#include <string>

namespace ServicePaths {

// ARRAY_DB_DIR, else /opt/korvex/storage/db. Read on every call, so a test
// can point a process at a fresh directory without restarting anything.
std::string dataDir();
std::string dbXmlPath();    // <dataDir>/db.xml
std::string pidFilePath();  // <dataDir>/arraywatch.pid
std::string logFilePath();  // <dataDir>/arraywatch.log

// ARRAY_GUI_PORT when it is a valid TCP port, else 8845.
int guiPort();

}  // namespace ServicePaths

#endif
