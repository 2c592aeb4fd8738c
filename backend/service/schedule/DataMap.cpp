#include "DataMap.h"

std::string DataMap::getValueByName(const std::string& name) const {
  DataRowContainer::const_iterator it = m_data.find(name);
  return it == m_data.end() ? std::string("0") : it->second;
}

void DataMap::setValue(const std::string& name, const std::string& value) { m_data[name] = value; }

void DataKey::setValue(const std::string& name, const std::string& value) {
  DataMap::setValue(name, value);
  m_ItemName.insert(name);
}

void DataRow::changeValue(const std::string& name, const std::string& value) {
  m_isChanged = true;
  DataMap::setValue(name, value);
  m_updateItemName.insert(name);
}
