#include "DispatchTable.h"

#include <algorithm>

namespace automation {

namespace {
char16_t FoldCase(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool SameName(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return FoldCase(x) == FoldCase(y); });
}

DISPID ParamPosition(const InterfaceInfo& info, DISPID member, std::u16string_view name) {
  for (const FuncInfo& func : info.funcs) {
    if (func.id != member) continue;
    for (std::size_t i = 0; i < func.params.size(); ++i)
      if (SameName(func.params[i].name, name)) return static_cast<DISPID>(i);
  }
  return DISPID_UNKNOWN;
}

std::size_t RequiredParams(const FuncInfo& func) {
  return static_cast<std::size_t>(
      std::count_if(func.params.begin(), func.params.end(), [](const ParamInfo& p) { return !p.optional; }));
}
} // namespace

HRESULT GetIDsOfNamesFrom(const InterfaceInfo& info, std::span<const std::u16string_view> names,
                          std::span<DISPID> ids) {
  if (names.empty() || ids.size() < names.size()) return E_INVALIDARG;
  std::fill(ids.begin(), ids.end(), DISPID_UNKNOWN);
  const auto func = std::find_if(info.funcs.begin(), info.funcs.end(),
                                 [&](const FuncInfo& f) { return SameName(f.name, names[0]); });
  if (func == info.funcs.end()) return DISP_E_UNKNOWNNAME;
  ids[0] = func->id;
  HRESULT hr = S_OK;
  for (std::size_t i = 1; i < names.size(); ++i) {
    ids[i] = ParamPosition(info, func->id, names[i]);
    if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

const FuncInfo* FindFunc(const InterfaceInfo& info, DISPID member, std::uint16_t flags) {
  // A caller that combines method and property get is served by a method first.
  for (const std::uint16_t kind : {DISPATCH_PROPERTYPUT, DISPATCH_METHOD, DISPATCH_PROPERTYGET}) {
    if (!(flags & kind)) continue;
    for (const FuncInfo& func : info.funcs)
      if (func.id == member && func.kind == kind) return &func;
  }
  return nullptr;
}

HRESULT InvokeFrom(const InterfaceInfo& info, IDispatch& object, DISPID member, std::uint16_t flags,
                   std::span<const Variant> args, Variant* result, std::uint32_t* argError) {
  const FuncInfo* func = FindFunc(info, member, flags);
  if (!func || !func->invoke) return DISP_E_MEMBERNOTFOUND;
  if (args.size() < RequiredParams(*func) || args.size() > func->params.size()) return DISP_E_BADPARAMCOUNT;
  if (result) *result = Variant();
  return func->invoke(object, args, result, argError);
}

} // namespace automation
