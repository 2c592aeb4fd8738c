// The requests to the web GUI: exact text, order, and a GUI that is down,
// wedged or hangs up.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "QTADaemon.h"
#include "service_test_util.h"

namespace {

const char kMailRequest[] =
    "GET /Vesta/sendMailNotify.php HTTP/1.1\r\n"
    "Host: localhost\r\n"
    "Accept-Encoding: gzip,deflate\r\n"
    "Accept-Charset:utf-8;q=0.7,*;q=0.7\r\n"
    "Accept-Language: en-us,en;q=0.5\r\n"
    "Content-Type: application/x-www-form-urlencoded\r\n"
    "Accept: */*\r\n\r\n";

// A listening socket on a free loopback port.
class Listener {
 public:
  explicit Listener(int backlog = 16) {
    m_fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    int one = 1;
    setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    bind(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    listen(m_fd, backlog);
    socklen_t len = sizeof addr;
    getsockname(m_fd, reinterpret_cast<sockaddr*>(&addr), &len);
    m_port = ntohs(addr.sin_port);
  }
  ~Listener() { close(m_fd); }
  int fd() const { return m_fd; }
  int port() const { return m_port; }

  // Accepts `count` connections and returns what each sent until it closed.
  std::vector<std::string> collect(int count) {
    std::vector<std::string> got;
    for (int i = 0; i < count; ++i) {
      int c = accept(m_fd, nullptr, nullptr);
      if (c < 0) break;
      std::string text;
      char buf[512];
      ssize_t n;
      while ((n = read(c, buf, sizeof buf)) > 0) text.append(buf, static_cast<size_t>(n));
      close(c);
      got.push_back(text);
    }
    return got;
  }

 private:
  int m_fd;
  int m_port;
};

class SendUrl : public ::testing::Test {
 protected:
  TempDir dir;
  ScopedEnv db{"ARRAY_DB_DIR", dir.path()};
};

TEST_F(SendUrl, RequestTextIsExact) {
  EXPECT_EQ(QTADaemon::buildRequest("/Vesta/sendMailNotify.php"), kMailRequest);
  Listener gui;
  std::vector<std::string> got;
  std::thread server([&] { got = gui.collect(1); });
  QTADaemon daemon(dir.file("db.xml"), gui.port());
  daemon.sendEmailNotify();
  server.join();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0], kMailRequest);
}

TEST_F(SendUrl, APassSendsRunRequestsInTextOrderThenMail) {
  writeFile(dir.file("db.xml"),
            "<root><BGASchedules>"
            "<s><index>9</index><settingType>0</settingType><settingDate>20200101</settingDate>"
            "<settingTime>0000</settingTime><status>0</status></s>"
            "<s><index>10</index><settingType>0</settingType><settingDate>20200101</settingDate>"
            "<settingTime>0000</settingTime><status>0</status></s>"
            "</BGASchedules></root>");
  Listener gui;
  std::vector<std::string> got;
  std::thread server([&] { got = gui.collect(3); });
  QTADaemon daemon(dir.file("db.xml"), gui.port());
  daemon.loop();
  server.join();
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0], QTADaemon::buildRequest("/Vesta/runBGASchedule.php?index=10"));
  EXPECT_EQ(got[1], QTADaemon::buildRequest("/Vesta/runBGASchedule.php?index=9"));
  EXPECT_EQ(got[2], kMailRequest);
  EXPECT_TRUE(got[0].compare(0, 47, "GET /Vesta/runBGASchedule.php?index=10 HTTP/1.1") == 0);
}

TEST_F(SendUrl, NobodyListeningIsDropped) {
  int port;
  {
    Listener closed;
    port = closed.port();
  }
  QTADaemon daemon(dir.file("db.xml"), port);
  daemon.sendEmailNotify();
  daemon.loop();
  EXPECT_EQ(countOccurrences(readFile(dir.file("arraywatch.log")), "sendBgaSchedules---"), 1);
}

TEST_F(SendUrl, AServerThatNeverAcceptsOrAnswersDoesNotHoldThePass) {
  Listener wedged(1);  // never accepts, never reads
  QTADaemon daemon(dir.file("db.xml"), wedged.port());
  // The backlog holds two; the third connect waits for its timeout and is
  // dropped instead of holding the pass.
  for (int i = 0; i < 3; ++i) daemon.sendEmailNotify();
  int c = accept(wedged.fd(), nullptr, nullptr);
  ASSERT_GE(c, 0);
  char buf[1024];
  ssize_t n = recv(c, buf, sizeof buf, 0);
  EXPECT_EQ(std::string(buf, n > 0 ? static_cast<size_t>(n) : 0), kMailRequest);
  close(c);
}

TEST_F(SendUrl, AServerThatHangsUpAtOnceDoesNotKillTheDaemon) {
  Listener rude;
  int accepted = 0;
  std::thread server([&] {
    for (; accepted < 20; ++accepted) {
      int c = accept(rude.fd(), nullptr, nullptr);
      if (c < 0) break;
      linger l = {1, 0};  // reset instead of a clean close
      setsockopt(c, SOL_SOCKET, SO_LINGER, &l, sizeof l);
      close(c);
    }
  });
  // A SIGPIPE would end this test process here.
  QTADaemon daemon(dir.file("db.xml"), rude.port());
  for (int i = 0; i < 20; ++i) daemon.sendEmailNotify();
  server.join();
  EXPECT_EQ(accepted, 20);
}

}  // namespace
