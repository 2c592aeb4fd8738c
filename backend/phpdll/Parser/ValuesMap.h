#ifndef KX_VALUES_MAP_H
#define KX_VALUES_MAP_H

#include <map>
#include <string>

// Parameter name -> value text. std::map orders keys by plain byte-wise
// comparison, which is also the order of struct members in responses
// (upper-case names before lower-case ones). Values are held by value, so
// a map owns its strings and nothing has to be freed by hand.
typedef std::map<std::string, std::string> ValuesMap;

// The value of name, or null when the request did not carry it.
inline const std::string *findValue(const ValuesMap &map, const std::string &name)
{
    ValuesMap::const_iterator it = map.find(name);
    return it == map.end() ? nullptr : &it->second;
}

#endif
