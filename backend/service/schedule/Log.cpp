#include "Log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <unistd.h>

#include "ServicePaths.h"

namespace {
const size_t kMessageSize = 65536;
const size_t kLineSize = 66560;
FILE* gLogFile = nullptr;
char gNowText[64];
}  // namespace

int InitLog() {
  if (gLogFile) return 0;
  gLogFile = std::fopen(ServicePaths::logFilePath().c_str(), "a+");
  return gLogFile ? 0 : 1;
}

int CloseLog() {
  if (!gLogFile) return 1;
  int rc = std::fclose(gLogFile);
  gLogFile = nullptr;
  return rc == 0 ? 0 : 1;
}

const char* NowToStr() {
  time_t now = std::time(nullptr);
  struct tm local;
  if (!localtime_r(&now, &local) || !asctime_r(&local, gNowText)) {
    // asctime_r refuses years it cannot print in four digits; the log line
    // is still worth having without a time.
    std::snprintf(gNowText, sizeof gNowText, "?\n");
  }
  return gNowText;
}

int LogPrintf(const char* format, ...) {
  char* message = static_cast<char*>(std::malloc(kMessageSize));
  char* line = static_cast<char*>(std::malloc(kLineSize));
  if (!message || !line) {
    std::free(message);
    std::free(line);
    return 0;
  }
  char timeText[64];
  std::snprintf(timeText, sizeof timeText, "%s", NowToStr());
  size_t timeLen = std::strlen(timeText);
  if (timeLen > 0) timeText[timeLen - 1] = '\0';

  va_list args;
  va_start(args, format);
  int formatted = std::vsnprintf(message, kMessageSize, format, args);
  va_end(args);
  if (formatted < 0) formatted = 0;
  int length = formatted < static_cast<int>(kMessageSize) ? formatted : static_cast<int>(kMessageSize - 1);

  int lineLen = std::snprintf(line, kLineSize, "%d - %s: %s", static_cast<int>(getpid()), timeText, message);
  if (lineLen > 0 && InitLog() == 0) {
    size_t toWrite = static_cast<size_t>(lineLen) < kLineSize ? static_cast<size_t>(lineLen) : kLineSize - 1;
    std::fwrite(line, 1, toWrite, gLogFile);
    CloseLog();
  }
  std::free(message);
  std::free(line);
  return length;
}
