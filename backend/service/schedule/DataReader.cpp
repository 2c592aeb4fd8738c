#include "DataReader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <csignal>
#include <sys/file.h>
#include <sys/time.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>

#include "Log.h"

namespace {
const size_t kExprSize = 512;

std::string nodeText(xmlDocPtr doc, xmlNodePtr node) {
  xmlChar* text = xmlNodeListGetString(doc, node->children, 1);
  std::string value = text ? reinterpret_cast<const char*>(text) : "";
  xmlFree(text);
  return value;
}

std::string nodeName(xmlNodePtr node) { return node->name ? reinterpret_cast<const char*>(node->name) : ""; }

bool isFilledElement(xmlNodePtr node) { return node->type == XML_ELEMENT_NODE && node->children != nullptr; }

// Builds an XPath expression in a bounded buffer; false when it would not fit.
bool buildExpr(char (&buffer)[kExprSize], const char* prefix, const std::string& a, const char* middle,
               const std::string& b) {
  int n = std::snprintf(buffer, kExprSize, "%s%s%s%s", prefix, a.c_str(), middle, b.c_str());
  return n > 0 && static_cast<size_t>(n) < kExprSize;
}

xmlXPathObjectPtr evaluate(xmlDocPtr doc, const char* expr, xmlXPathContextPtr* ctxOut) {
  *ctxOut = xmlXPathNewContext(doc);
  if (!*ctxOut) return nullptr;
  return xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(expr), *ctxOut);
}

bool writeAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

std::string directoryOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}
}  // namespace

void DataReader::openLink() {
  closeLink();
  if (m_dataStorageType != STORAGE_TYPE_XML) return;
  if (::access(m_linkString.c_str(), F_OK) != 0) {
    m_pLink = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
    LogPrintf("xml file not exist .\n");
    return;
  }
  xmlInitParser();
  // The file is the GUI's, but never let it make the daemon fetch anything.
  m_pLink = xmlReadFile(m_linkString.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  if (!m_pLink) LogPrintf("read xml file error.\n");
}

bool DataReader::saveLink() {
  if (!m_pLink || m_dataStorageType != STORAGE_TYPE_XML) return false;
  xmlChar* text = nullptr;
  int size = 0;
  // No explicit encoding: the document's declared one stays, UTF-8 when none.
  xmlDocDumpFormatMemoryEnc(m_pLink, &text, &size, nullptr, 0);
  if (!text || size < 0) {
    xmlFree(text);
    return false;
  }

  std::string tmpl = m_linkString + ".XXXXXX";
  std::vector<char> tmpPath(tmpl.begin(), tmpl.end());
  tmpPath.push_back('\0');
  int fd = ::mkstemp(tmpPath.data());
  if (fd < 0) {
    xmlFree(text);
    return false;
  }
  struct stat old;
  if (::stat(m_linkString.c_str(), &old) == 0) {
    ::fchmod(fd, old.st_mode & 07777);
    if (::geteuid() == 0 && ::fchown(fd, old.st_uid, old.st_gid) != 0) {
      // Ownership is best effort: the GUI reads the file through its mode.
    }
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  bool ok = writeAll(fd, reinterpret_cast<const char*>(text), static_cast<size_t>(size)) && ::fsync(fd) == 0;
  xmlFree(text);
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(tmpPath.data(), m_linkString.c_str()) == 0;
  if (!ok) {
    ::unlink(tmpPath.data());
    return false;
  }
  int dirFd = ::open(directoryOf(m_linkString).c_str(), O_RDONLY | O_DIRECTORY);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  return true;
}

void DataReader::closeLink() {
  if (!m_pLink) return;
  xmlFreeDoc(m_pLink);
  m_pLink = nullptr;
}

DataTable* DataReader::getTable(const std::string& tableName, const DataKeyNameList& keyNames) {
  DataTable* table = new DataTable(this, tableName);
  openLink();
  char expr[kExprSize];
  if (m_dataStorageType != STORAGE_TYPE_XML || !m_pLink || !buildExpr(expr, "/", tableName, "", "")) {
    closeLink();
    return table;
  }
  xmlXPathContextPtr ctx = nullptr;
  xmlXPathObjectPtr result = evaluate(m_pLink, expr, &ctx);
  if (result && result->nodesetval) {
    xmlNodeSetPtr nodes = result->nodesetval;
    for (int i = 0; i < nodes->nodeNr; ++i) {
      xmlNodePtr container = nodes->nodeTab[i];
      if (!isFilledElement(container)) continue;
      for (xmlNodePtr rowNode = container->children; rowNode; rowNode = rowNode->next) {
        if (!isFilledElement(rowNode)) continue;
        DataKey key;
        DataRow row(table);
        for (xmlNodePtr field = rowNode->children; field; field = field->next) {
          if (!isFilledElement(field)) continue;
          std::string name = nodeName(field);
          std::string value = nodeText(m_pLink, field);
          if (keyNames.count(name)) key.setValue(name, value);
          row.setValue(name, value);
        }
        table->addRow(&key, &row);
      }
    }
  }
  xmlXPathFreeObject(result);
  xmlXPathFreeContext(ctx);
  closeLink();
  return table;
}

namespace {
// The web GUI rewrites the file under an exclusive advisory lock on
// "<file>.lock", re-reading it first. A write-back that re-reads and
// replaces the file without that lock would drop a row the GUI added in
// between, so it takes the lock too. It queues for it like the GUI's
// writers do (a polling try loses every race to them while they are
// busy), but for 2 s at most: a GUI process stuck with the lock must not
// stall event capture for long.
void interruptOnly(int) {}

class GuiFileLock {
 public:
  explicit GuiFileLock(const std::string& file) {
    m_fd = ::open((file + ".lock").c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
    if (m_fd < 0) return;
    struct sigaction wake = {}, old = {};
    wake.sa_handler = interruptOnly;
    sigemptyset(&wake.sa_mask);
    ::sigaction(SIGALRM, &wake, &old);
    itimerval limit = {}, none = {};
    limit.it_value.tv_sec = 2;
    ::setitimer(ITIMER_REAL, &limit, nullptr);
    int rc = ::flock(m_fd, LOCK_EX);
    ::setitimer(ITIMER_REAL, &none, nullptr);
    ::sigaction(SIGALRM, &old, nullptr);
    if (rc != 0) LogPrintf("data file lock not obtained; writing back without it.\n");
  }
  ~GuiFileLock() {
    if (m_fd >= 0) ::close(m_fd);
  }
  GuiFileLock(const GuiFileLock&) = delete;
  GuiFileLock& operator=(const GuiFileLock&) = delete;

 private:
  int m_fd = -1;
};
}  // namespace

void DataReader::updateData(DataTable* table, const DataKey* key, DataRow* row) {
  if (!table || !key || !row || !row->isChanged()) return;
  GuiFileLock lock(m_linkString);
  openLink();
  if (m_dataStorageType != STORAGE_TYPE_XML || !m_pLink || key->getItemNameList().empty()) {
    closeLink();
    return;
  }
  const std::string keyName = *key->getItemNameList().begin();
  const std::string keyValue = key->getValueByName(keyName);
  // Only the key fields of this table's rows are candidates: a field of the
  // same name and value elsewhere in the file (another table) is not ours.
  char expr[kExprSize];
  if (!buildExpr(expr, "/", table->getName(), "/*/", keyName)) {
    closeLink();
    return;
  }
  xmlXPathContextPtr ctx = nullptr;
  xmlXPathObjectPtr result = evaluate(m_pLink, expr, &ctx);
  xmlNodePtr match = nullptr;
  if (result && result->nodesetval) {
    for (int i = 0; i < result->nodesetval->nodeNr && !match; ++i) {
      xmlNodePtr node = result->nodesetval->nodeTab[i];
      if (node->type == XML_ELEMENT_NODE && nodeText(m_pLink, node) == keyValue) match = node;
    }
  }
  bool modified = false;
  if (match && match->parent) {
    const DataKeyNameList& changed = row->getUpdateItemNameList();
    DataKeyNameList written;
    for (xmlNodePtr field = match->parent->children; field; field = field->next) {
      if (field->type != XML_ELEMENT_NODE) continue;
      std::string name = nodeName(field);
      if (!changed.count(name)) continue;
      // Clear, then add as a text node: the value is escaped when saved
      // instead of being taken as markup.
      xmlNodeSetContent(field, nullptr);
      xmlNodeAddContent(field, reinterpret_cast<const xmlChar*>(row->getValueByName(name).c_str()));
      written.insert(name);
      modified = true;
    }
    // A changed field the row element does not carry yet is added; else the
    // mark would be lost and the schedule triggered again on every pass.
    for (DataKeyNameList::const_iterator it = changed.begin(); it != changed.end(); ++it) {
      if (written.count(*it)) continue;
      if (!xmlValidateNCName(reinterpret_cast<const xmlChar*>(it->c_str()), 0) &&
          xmlNewTextChild(match->parent, nullptr, reinterpret_cast<const xmlChar*>(it->c_str()),
                          reinterpret_cast<const xmlChar*>(row->getValueByName(*it).c_str()))) {
        modified = true;
      }
    }
  }
  xmlXPathFreeObject(result);
  xmlXPathFreeContext(ctx);
  // Saving an unchanged document would only widen the window in which a
  // concurrent edit by the GUI is lost.
  if (modified) saveLink();
  closeLink();
}
