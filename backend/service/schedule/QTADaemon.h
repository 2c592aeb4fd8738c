// QTADaemon: advanced once a second by the service loop. Every RUN_WAIT-th
// tick it re-reads the schedule table, marks the due schedules as triggered
// in the GUI's data file and asks the GUI, over HTTP on the loopback
// interface, to run each of them and to send any pending mail.
#ifndef ARRAYWATCH_QTADAEMON_H
#define ARRAYWATCH_QTADAEMON_H

#include <string>

#include "DataMap.h"

class DataReader;
class DataRow;
class DataTable;

class QTADaemon {
 public:
  static const char* const XML_PATH;
  static const char* const SCHEDULE_TABEL_NAME;
  static const char* const SCHEDULE_TABEL_KEY;
  static const char* const SCHEDULE_TYPE;
  static const char* const BGA_TYPE;
  static const char* const SCHEDULE_TIME;
  static const char* const SCHEDULE_DATE;
  static const char* const SCHEDULE_SUPPLE;
  static const char* const SCHEDULE_STARTTIME;
  static const char* const SCHEDULE_STATUS;
  static const char* const ACCOUNT_TABEL_NAME;
  static const char* const QTA_BGA_URL;
  static const char* const QTA_MAIL_URL;

  // How long a request may take to connect and to be handed to the kernel.
  // The GUI never answers anything we wait for, so this only bounds a
  // server that is wedged or a loopback that drops packets.
  static const int SEND_TIMEOUT_MS = 2000;

  // The data file and GUI port of the environment (ARRAY_DB_DIR,
  // ARRAY_GUI_PORT).
  QTADaemon();
  // Explicit data file and port, for tests and tools.
  QTADaemon(const std::string& xmlPath, int guiPort);
  ~QTADaemon();
  QTADaemon(const QTADaemon&) = delete;
  QTADaemon& operator=(const QTADaemon&) = delete;

  void loop();
  void refreshTable();
  void checkBgaSchedules();
  void sendBgaSchedules();
  void sendEmailNotify();
  // Fire and forget: connect, send one GET request, close.
  void sendURL(const std::string& path);
  bool isAccelerateStarted();
  bool isSchToday();

  // The request text sendURL sends for a path.
  static std::string buildRequest(const std::string& path);
  const DataKeyNameList& pendingUrls() const { return m_urls; }
  const DataTable* scheduleTable() const { return m_pScheduleTable; }
  unsigned tickCount() const { return m_time; }

 private:
  bool isDue(DataRow* row, long position);

  DataReader* m_pReader;
  DataTable* m_pScheduleTable;
  DataKeyNameList m_urls;
  unsigned int m_time;
  bool m_isLoop;
  bool m_isAccelerate;
  int m_port;
};

#endif
