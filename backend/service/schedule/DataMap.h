// String maps behind the rows and keys of the GUI's data tables. Names and
// values are byte strings; names are held in byte order.
#ifndef ARRAYWATCH_DATA_MAP_H
#define ARRAYWATCH_DATA_MAP_H

#include <map>
#include <set>
#include <string>

typedef std::map<std::string, std::string> DataRowContainer;
typedef std::set<std::string> DataKeyNameList;

class DataTable;

class DataMap {
 public:
  virtual ~DataMap() = default;
  // The value, or "0" for a field the row does not carry: an empty or
  // missing element in the data file reads as zero.
  std::string getValueByName(const std::string& name) const;
  void setValue(const std::string& name, const std::string& value);

 protected:
  DataRowContainer m_data;
};

class DataKey : public DataMap {
 public:
  void setValue(const std::string& name, const std::string& value);
  DataRowContainer getKeyContainer() const { return m_data; }
  const DataKeyNameList& getItemNameList() const { return m_ItemName; }
  // Keys order as their (name, value) sequences, byte-wise; so index values
  // 1, 2, 10 order as 1, 10, 2. The item names take no part.
  bool operator<(const DataKey& other) const { return m_data < other.m_data; }

 private:
  DataKeyNameList m_ItemName;
};

class DataRow : public DataMap {
 public:
  explicit DataRow(DataTable* table = nullptr) : m_pTable(table) {}
  DataRow(const DataRow& other) = default;
  DataRow& operator=(const DataRow& other) = default;
  ~DataRow() override { m_pTable = nullptr; }

  // Records the new value and remembers the field for the next write-back.
  void changeValue(const std::string& name, const std::string& value);
  bool isChanged() const { return m_isChanged; }
  const DataKeyNameList& getUpdateItemNameList() const { return m_updateItemName; }
  DataTable* getTable() const { return m_pTable; }
  void setTable(DataTable* table) { m_pTable = table; }

 private:
  DataTable* m_pTable;
  bool m_isChanged = false;
  DataKeyNameList m_updateItemName;
};

#endif
