#include "Guid.h"

#include <cstdio>

namespace automation {

std::string GuidToString(const GUID& guid) {
  char text[39];
  const auto& d = guid.Data4;
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", guid.Data1, guid.Data2,
                guid.Data3, d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7]);
  return text;
}

} // namespace automation
