#include "ServicePaths.h"

#include <cstdlib>

namespace {
const char kDefaultDataDir[] = "/opt/korvex/storage/db";
const int kDefaultGuiPort = 8845;

std::string inDataDir(const char* name) {
  std::string dir = ServicePaths::dataDir();
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir + name;
}
}  // namespace

namespace ServicePaths {

std::string dataDir() {
  const char* env = std::getenv("ARRAY_DB_DIR");
  return (env && *env) ? std::string(env) : std::string(kDefaultDataDir);
}

std::string dbXmlPath() { return inDataDir("db.xml"); }
std::string pidFilePath() { return inDataDir("arraywatch.pid"); }
std::string logFilePath() { return inDataDir("arraywatch.log"); }

int guiPort() {
  const char* env = std::getenv("ARRAY_GUI_PORT");
  if (!env || !*env) return kDefaultGuiPort;
  char* end = nullptr;
  long port = std::strtol(env, &end, 10);
  // A mistyped variable must not send the requests to some other service.
  if (*end != '\0' || port < 1 || port > 65535) return kDefaultGuiPort;
  return static_cast<int>(port);
}

}  // namespace ServicePaths
