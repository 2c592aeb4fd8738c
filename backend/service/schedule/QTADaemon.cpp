#include "QTADaemon.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include "DataReader.h"
#include "DataTable.h"
#include "Log.h"
#include "Schedule.h"
#include "ServicePaths.h"
#include "audit.h"

const char* const QTADaemon::XML_PATH = "/opt/korvex/storage/db/db.xml";
const char* const QTADaemon::SCHEDULE_TABEL_NAME = "root/BGASchedules";
const char* const QTADaemon::SCHEDULE_TABEL_KEY = "index";
const char* const QTADaemon::SCHEDULE_TYPE = "settingType";
const char* const QTADaemon::BGA_TYPE = "bgaType";
const char* const QTADaemon::SCHEDULE_TIME = "settingTime";
const char* const QTADaemon::SCHEDULE_DATE = "settingDate";
const char* const QTADaemon::SCHEDULE_SUPPLE = "settingDateSupplement";
const char* const QTADaemon::SCHEDULE_STARTTIME = "startTime";
const char* const QTADaemon::SCHEDULE_STATUS = "status";
const char* const QTADaemon::ACCOUNT_TABEL_NAME = "Users";
const char* const QTADaemon::QTA_BGA_URL = "/Vesta/runBGASchedule.php?index=";
const char* const QTADaemon::QTA_MAIL_URL = "/Vesta/sendMailNotify.php";

namespace {
// The fields settingType and status are single digits as the GUI writes
// them. A row whose digit is missing or garbled is skipped rather than
// guessed at: acting on it could start an activity nobody scheduled.
bool readDigitField(const DataRow* row, const char* name, int width, int* value) {
  bool ok = false;
  long long v = Schedule::parseSigned(Schedule::formatNum(row->getValueByName(name), width), 0, &ok);
  *value = ok ? static_cast<int>(v) : 0;
  return ok;
}

bool connectWithTimeout(int fd, const sockaddr* addr, socklen_t len, int timeoutMs) {
  int flags = ::fcntl(fd, F_GETFL, 0);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) return false;
  int rc = ::connect(fd, addr, len);
  if (rc != 0) {
    if (errno != EINPROGRESS) return false;
    pollfd p = {fd, POLLOUT, 0};
    do {
      rc = ::poll(&p, 1, timeoutMs);
    } while (rc < 0 && errno == EINTR);
    if (rc <= 0) return false;
    int err = 0;
    socklen_t errLen = sizeof err;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &errLen) != 0 || err != 0) return false;
  }
  return ::fcntl(fd, F_SETFL, flags) == 0;
}
// The daemon has no terminal: a record it could not write is said in its log.
void reportAuditFailure(const char* why) { LogPrintf("audit record not written: %s\n", why); }
}  // namespace

QTADaemon::QTADaemon() : QTADaemon(ServicePaths::dbXmlPath(), ServicePaths::guiPort()) {}

QTADaemon::QTADaemon(const std::string& xmlPath, int guiPort)
    : m_pReader(new DataReader(xmlPath, DataReader::STORAGE_TYPE_XML)),
      m_pScheduleTable(nullptr),
      m_time(0),
      m_isLoop(false),
      m_isAccelerate(false),
      m_port(guiPort) {
  auditSetFailureReporter(reportAuditFailure);
}

QTADaemon::~QTADaemon() {
  if (m_pReader) m_pReader->recycleTable(m_pScheduleTable);
  m_pScheduleTable = nullptr;
  delete m_pReader;
}

void QTADaemon::loop() {
  if (m_time == 0) {
    if (m_isLoop) {
      m_time = 1;
      return;
    }
    m_isLoop = true;
    refreshTable();
    checkBgaSchedules();
    sendBgaSchedules();
    sendEmailNotify();
    m_isLoop = false;
  }
  if (++m_time > Schedule::RUN_WAIT - 1) m_time = 0;
}

void QTADaemon::refreshTable() {
  LogPrintf("QTADaemon::refreshTable+++\n");
  if (m_pReader) {
    m_pReader->recycleTable(m_pScheduleTable);
    DataKeyNameList keys;
    keys.insert(SCHEDULE_TABEL_KEY);
    m_pScheduleTable = m_pReader->getTable(SCHEDULE_TABEL_NAME, keys);
  }
  LogPrintf("QTADaemon::refreshTable---\n");
}

bool QTADaemon::isDue(DataRow* row, long p) {
  int type = 0, status = 0, bga = 0;
  bool typeOk = readDigitField(row, SCHEDULE_TYPE, 1, &type);
  bool statusOk = readDigitField(row, SCHEDULE_STATUS, 1, &status);
  readDigitField(row, BGA_TYPE, 2, &bga);
  LogPrintf("QTADaemon::checkBgaSchedules: record info: type:%d status:%d bga_type:%d\n", type, status, bga);
  if (!typeOk || !statusOk) return false;
  if (status == Schedule::TYPE_STATUS_DAEMON) {
    LogPrintf("QTADaemon::checkBgaSchedules: record %d has already been triggered.\n", static_cast<int>(p));
    return false;
  }

  if (type == Schedule::TYPE_RUN_ONCE) {
    if (status == Schedule::TYPE_STATUS_RUN) return false;
    LogPrintf("QTADaemon::checkBgaSchedules: Check run only once.\n");
    return Schedule::notAfterNow(Schedule::formatNum(row->getValueByName(SCHEDULE_DATE), 8),
                                 Schedule::formatNum(row->getValueByName(SCHEDULE_TIME), 4));
  }

  uint32_t interval = static_cast<uint32_t>(Schedule::formatInterval(row->getValueByName(SCHEDULE_DATE)));
  std::string start = Schedule::formatNum(row->getValueByName(SCHEDULE_STARTTIME), 8);
  bool begun = Schedule::inDate(start, type) ||
               (Schedule::beforeNow(start) && status == Schedule::TYPE_STATUS_NOTRUN);
  if (!begun) return false;

  long count = 0;
  bool dayMatches = true;
  switch (type) {
    case Schedule::TYPE_RUN_WEEK:
      LogPrintf("QTADaemon::checkBgaSchedules: check run weekly.\n");
      dayMatches = Schedule::getNowWeekDay() == Schedule::formatWeekDate(row->getValueByName(SCHEDULE_SUPPLE));
      count = Schedule::weeksCountFromNow(start);
      LogPrintf("QTADaemon::checkBgaSchedules: number of diff. weeks is %d and interval is %d\n",
                static_cast<int>(count), static_cast<int>(interval));
      break;
    case Schedule::TYPE_RUN_MONTH:
      LogPrintf("QTADaemon::checkBgaSchedules: check run monthly.\n");
      dayMatches = Schedule::getNowMonthDay() == Schedule::formatMonthDate(row->getValueByName(SCHEDULE_SUPPLE));
      count = Schedule::monthsCountFromNow(start);
      LogPrintf("QTADaemon::checkBgaSchedules: number of diff. months is %d and interval is %d\n",
                static_cast<int>(count), static_cast<int>(interval));
      break;
    case Schedule::TYPE_RUN_DAY:
      LogPrintf("QTADaemon::checkBgaSchedules: check run daily.\n");
      count = Schedule::daysCountFromNow(start);
      LogPrintf("QTADaemon::checkBgaSchedules: number of diff. days is %d and interval is %d\n",
                static_cast<int>(count), static_cast<int>(interval));
      break;
    default:
      return false;
  }
  if (!dayMatches) return false;
  // Interval 0 or 1 means every day, week or month.
  if (interval > 1 && static_cast<uint32_t>(count) % interval != 0) return false;
  return Schedule::inTimeArea(row->getValueByName(SCHEDULE_TIME));
}

void QTADaemon::checkBgaSchedules() {
  LogPrintf("QTADaemon::checkBgaSchedules+++\n");
  if (m_pScheduleTable) {
    for (long p = 0; p < m_pScheduleTable->getRowCount(); ++p) {
      LogPrintf("+++++++QTADaemon::checkBgaSchedules: process %d record begin++++++++\n", static_cast<int>(p));
      DataRow* row = m_pScheduleTable->getRow(p);
      if (row && isDue(row, p)) {
        LogPrintf("QTADaemon::checkBgaSchedules: Record %d ready to RUN!!!\n", static_cast<int>(p));
        row->changeValue(SCHEDULE_STATUS, Schedule::TYPE_STATUS_SET);
        m_urls.insert(std::string(QTA_BGA_URL) + row->getValueByName(SCHEDULE_TABEL_KEY));
        int bga = 0;
        readDigitField(row, BGA_TYPE, 2, &bga);
        // The daemon acts for whoever made the schedule: the record says
        // which schedule started what, the GUI's run records the change.
        AuditActor actor;
        actor.tool = "arraywatch";
        actor.from = "schedule";
        auditWrite(actor, "schedule " + row->getValueByName(SCHEDULE_TABEL_KEY) + " triggered (activity " +
                              std::to_string(bga) + ")",
                   0, "triggered");
        if (bga == Schedule::BGA_IS_ACCELERATE) m_isAccelerate = true;
      }
      LogPrintf("-------QTADaemon::checkBgaSchedules: process %i record end-------\n", static_cast<int>(p));
    }
    // The marks reach the data file before any request goes out, so a
    // schedule is never run twice because the GUI saw it still unmarked.
    m_pScheduleTable->flashData();
  }
  LogPrintf("QTADaemon::checkBgaSchedules---\n");
}

void QTADaemon::sendBgaSchedules() {
  LogPrintf("QTADaemon::sendBgaSchedules+++\n");
  for (DataKeyNameList::const_iterator it = m_urls.begin(); it != m_urls.end(); ++it) sendURL(*it);
  m_urls.clear();
  LogPrintf("QTADaemon::sendBgaSchedules---\n");
}

void QTADaemon::sendEmailNotify() { sendURL(QTA_MAIL_URL); }

std::string QTADaemon::buildRequest(const std::string& path) {
  return "GET " + path + " " + "HTTP/1.1\r\n" + "Host: localhost\r\n" + "Accept-Encoding: gzip,deflate\r\n" +
         "Accept-Charset:utf-8;q=0.7,*;q=0.7\r\n" + "Accept-Language: en-us,en;q=0.5\r\n" +
         "Content-Type: application/x-www-form-urlencoded\r\n" + "Accept: */*\r\n\r\n";
}

void QTADaemon::sendURL(const std::string& path) {
  const std::string request = buildRequest(path);
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return;
  addrinfo hints;
  std::memset(&hints, 0, sizeof hints);
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICHOST;
  addrinfo* found = nullptr;
  if (::getaddrinfo("127.0.0.1", nullptr, &hints, &found) != 0 || !found) {
    ::close(fd);
    return;
  }
  sockaddr_in addr;
  std::memcpy(&addr, found->ai_addr, sizeof addr);
  ::freeaddrinfo(found);
  addr.sin_port = htons(static_cast<uint16_t>(m_port));
  if (connectWithTimeout(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr, SEND_TIMEOUT_MS)) {
    timeval tv = {SEND_TIMEOUT_MS / 1000, (SEND_TIMEOUT_MS % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    // MSG_NOSIGNAL: a GUI that has already hung up must not kill the daemon
    // with SIGPIPE.
    ssize_t sent = ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    (void)sent;
  }
  ::close(fd);
}

bool QTADaemon::isAccelerateStarted() {
  bool started = m_isAccelerate;
  m_isAccelerate = false;
  return started;
}

bool QTADaemon::isSchToday() {
  if (!m_pScheduleTable) return false;
  for (long p = 0; p < m_pScheduleTable->getRowCount(); ++p) {
    DataRow* row = m_pScheduleTable->getRow(p);
    if (!row) continue;
    int type = 0, status = 0;
    if (!readDigitField(row, SCHEDULE_TYPE, 1, &type) || !readDigitField(row, SCHEDULE_STATUS, 1, &status)) continue;
    if (status == Schedule::TYPE_STATUS_RUN) continue;
    // Only a run-once schedule names a calendar date (settingDate); the
    // time field holds hhmm and can never equal a date.
    if (type == Schedule::TYPE_RUN_ONCE && Schedule::isNow(Schedule::formatNum(row->getValueByName(SCHEDULE_DATE), 8)))
      return true;
  }
  return false;
}
