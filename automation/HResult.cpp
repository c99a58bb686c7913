#include "HResult.h"

#include <array>
#include <cstdio>
#include <utility>

namespace automation {

std::string ResultText(HRESULT result) {
  static constexpr std::array<std::pair<HRESULT, const char*>, 26> names{{
      {S_OK, "S_OK"},
      {S_FALSE, "S_FALSE"},
      {E_NOTIMPL, "E_NOTIMPL"},
      {E_NOINTERFACE, "E_NOINTERFACE"},
      {E_POINTER, "E_POINTER"},
      {E_FAIL, "E_FAIL"},
      {E_UNEXPECTED, "E_UNEXPECTED"},
      {E_OUTOFMEMORY, "E_OUTOFMEMORY"},
      {E_INVALIDARG, "E_INVALIDARG"},
      {DISP_E_MEMBERNOTFOUND, "DISP_E_MEMBERNOTFOUND"},
      {DISP_E_TYPEMISMATCH, "DISP_E_TYPEMISMATCH"},
      {DISP_E_UNKNOWNNAME, "DISP_E_UNKNOWNNAME"},
      {DISP_E_EXCEPTION, "DISP_E_EXCEPTION"},
      {DISP_E_BADINDEX, "DISP_E_BADINDEX"},
      {DISP_E_BADPARAMCOUNT, "DISP_E_BADPARAMCOUNT"},
      {TYPE_E_ELEMENTNOTFOUND, "TYPE_E_ELEMENTNOTFOUND"},
      {CLASS_E_NOAGGREGATION, "CLASS_E_NOAGGREGATION"},
      {CLASS_E_CLASSNOTAVAILABLE, "CLASS_E_CLASSNOTAVAILABLE"},
      {REGDB_E_READREGDB, "REGDB_E_READREGDB"},
      {REGDB_E_WRITEREGDB, "REGDB_E_WRITEREGDB"},
      {REGDB_E_CLASSNOTREG, "REGDB_E_CLASSNOTREG"},
      {SELFREG_E_TYPELIB, "SELFREG_E_TYPELIB"},
      {SELFREG_E_CLASS, "SELFREG_E_CLASS"},
      {CO_E_CLASSSTRING, "CO_E_CLASSSTRING"},
      {CO_E_DLLNOTFOUND, "CO_E_DLLNOTFOUND"},
      {CO_E_ERRORINDLL, "CO_E_ERRORINDLL"},
  }};
  char code[16];
  std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(result));
  for (const auto& [value, name] : names)
    if (value == result) return std::string(name) + " (" + code + ")";
  return code;
}

} // namespace automation
