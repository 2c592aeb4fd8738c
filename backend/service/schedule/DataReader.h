// DataReader: the GUI's XML data file seen as tables. The file is parsed
// afresh for every query and every write-back and no document is kept in
// between, so whatever the GUI wrote last is what the next query sees.
#ifndef ARRAYWATCH_DATA_READER_H
#define ARRAYWATCH_DATA_READER_H

#include <string>

#include "DataMap.h"
#include "DataTable.h"

typedef struct _xmlDoc xmlDoc;

class DataReader {
 public:
  static const int STORAGE_TYPE_XML = 0;

  DataReader(const std::string& link, int storageType) : m_dataStorageType(storageType), m_linkString(link) {}
  virtual ~DataReader() { closeLink(); }
  DataReader(const DataReader&) = delete;
  DataReader& operator=(const DataReader&) = delete;

  // A missing file opens as an empty document; an unparseable one leaves no
  // document open (and nothing will be saved over it).
  void openLink();
  // Replaces the file by the open document. The new text goes to a
  // temporary file in the same directory that is synced and renamed over
  // the old one, so a crash mid-write never leaves the GUI a truncated
  // file. Returns true when the file was replaced.
  bool saveLink();
  void closeLink();

  // Never null; the caller releases it with recycleTable.
  DataTable* getTable(const std::string& tableName, const DataKeyNameList& keyNames);
  // Writes the changed fields of one row back into the table's row of the
  // file whose key field holds the row's key value.
  void updateData(DataTable* table, const DataKey* key, DataRow* row);
  void recycleTable(DataTable* table) { delete table; }

  const std::string& getLink() const { return m_linkString; }

 private:
  int m_dataStorageType;
  std::string m_linkString;
  xmlDoc* m_pLink = nullptr;
};

#endif
