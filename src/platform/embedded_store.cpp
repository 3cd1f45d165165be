// Files compiled into the program, looked up by name: the exact name first,
// then any name that differs only in case.
#include "platform/embedded_store.h"

#include <map>
#include <strings.h>

namespace store {
namespace {
struct Entry {
  const uint8_t* data;
  size_t size;
};
std::map<std::string, Entry>& entries() {
  static std::map<std::string, Entry> m;
  return m;
}
}  // namespace

void register_file(const std::string& name, const uint8_t* data, size_t size) {
  entries()[name] = Entry{data, size};
}

bool find(const std::string& name, const uint8_t*& data, size_t& size) {
  auto& m = entries();
  auto it = m.find(name);
  if (it == m.end()) {
    // The map's order makes the choice among several case variants fixed.
    for (it = m.begin(); it != m.end(); ++it)
      if (strcasecmp(it->first.c_str(), name.c_str()) == 0) break;
    if (it == m.end()) return false;
  }
  data = it->second.data;
  size = it->second.size;
  return true;
}

}  // namespace store
