#include "DataTable.h"

#include <iterator>

#include "DataReader.h"

void DataTable::addRow(const DataKey* key, const DataRow* row) {
  if (!key || !row) return;
  if (m_table.find(*key) != m_table.end()) return;
  DataRow copy(*row);
  copy.setTable(this);
  m_table.emplace(*key, copy);
}

void DataTable::flashData() {
  for (DataTableContainer::iterator it = m_table.begin(); it != m_table.end() && m_pReader; ++it) {
    m_pReader->updateData(this, &it->first, &it->second);
  }
}

DataRow* DataTable::getRow(long position) {
  if (m_table.empty()) return nullptr;
  if (position < 1) return &m_table.begin()->second;
  if (position >= getRowCount()) return nullptr;
  DataTableContainer::iterator it = m_table.begin();
  std::advance(it, position);
  return &it->second;
}

const DataKey* DataTable::getKey(long position) const {
  if (m_table.empty()) return nullptr;
  if (position < 1) return &m_table.begin()->first;
  if (position >= getRowCount()) return nullptr;
  DataTableContainer::const_iterator it = m_table.begin();
  std::advance(it, position);
  return &it->first;
}
