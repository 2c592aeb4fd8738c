// One table of the GUI's data file: rows in key order, read whole by
// DataReader::getTable and written back row by row with flashData.
#ifndef ARRAYWATCH_DATA_TABLE_H
#define ARRAYWATCH_DATA_TABLE_H

#include <map>
#include <string>

#include "DataMap.h"

class DataReader;

typedef std::map<DataKey, DataRow> DataTableContainer;

class DataTable {
 public:
  DataTable(DataReader* reader, const std::string& name) : m_pReader(reader), m_tableName(name) {}
  virtual ~DataTable() = default;
  DataTable(const DataTable&) = delete;
  DataTable& operator=(const DataTable&) = delete;

  // Stores copies; the first row with a given key wins.
  void addRow(const DataKey* key, const DataRow* row);
  // Writes every changed row back to the data file, in key order.
  void flashData();
  long getRowCount() const { return static_cast<long>(m_table.size()); }
  // Position 0 is the first row in key order (so is any position below 1);
  // null past the end or for an empty table.
  DataRow* getRow(long position);
  const DataKey* getKey(long position) const;
  std::string getName() const { return m_tableName; }

 private:
  DataReader* m_pReader;
  std::string m_tableName;
  DataTableContainer m_table;
};

#endif
