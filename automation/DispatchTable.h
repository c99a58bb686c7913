#pragma once

#include "Dispatch.h"

#include <cstddef>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

// What a server needs to implement IDispatch from its interface description: the name lookup, the
// invocation, and InvokeMember<&IFoo::get_Bar>, which binds a vtable member to the description.
namespace automation {

HRESULT GetIDsOfNamesFrom(const InterfaceInfo& info, std::span<const std::u16string_view> names,
                          std::span<DISPID> ids);
// Finds the entry for (member, flags), checks the argument count and calls its invoker.
HRESULT InvokeFrom(const InterfaceInfo& info, IDispatch& object, DISPID member, std::uint16_t flags,
                   std::span<const Variant> args, Variant* result, std::uint32_t* argError);
// The entry Invoke would call, or null.
const FuncInfo* FindFunc(const InterfaceInfo& info, DISPID member, std::uint16_t flags);

namespace detail {

// Parameter types a vtable member may have: int32_t, const std::u16string&, const Variant& in;
// int32_t* or std::u16string* as the last parameter for the returned value.
template <class A>
using Stored = std::remove_cvref_t<std::remove_pointer_t<A>>;

inline HRESULT ArgumentValue(const Variant* arg, std::int32_t& value) {
  return arg ? arg->toInt32(&value) : S_OK;
}
inline HRESULT ArgumentValue(const Variant* arg, std::u16string& value) {
  return arg ? arg->toText(&value) : S_OK;
}
inline HRESULT ArgumentValue(const Variant* arg, Variant& value) {
  if (arg) value = *arg;
  return S_OK;
}

template <class A, class S>
decltype(auto) Pass(S& stored) {
  if constexpr (std::is_pointer_v<A>)
    return &stored;
  else
    return static_cast<const S&>(stored);
}

template <class... A>
constexpr bool LastIsPointer() {
  if constexpr (sizeof...(A) == 0)
    return false;
  else
    return std::is_pointer_v<std::tuple_element_t<sizeof...(A) - 1, std::tuple<A...>>>;
}

template <class Member>
struct MemberTraits;

template <class C, class... A>
struct MemberTraits<HRESULT (C::*)(A...)> {
  using Class = C;
  using Values = std::tuple<Stored<A>...>;
  static constexpr std::size_t count = sizeof...(A);
  static constexpr bool returnsValue = LastIsPointer<A...>();
  static constexpr std::size_t inCount = count - (returnsValue ? 1 : 0);

  template <auto Member, std::size_t... I>
  static HRESULT Call(C& object, Values& values, std::index_sequence<I...>) {
    return (object.*Member)(Pass<A>(std::get<I>(values))...);
  }
};

template <class Traits, std::size_t... I>
HRESULT ConvertArguments(std::span<const Variant> args, typename Traits::Values& values, std::uint32_t* argError,
                         std::index_sequence<I...>) {
  HRESULT hr = S_OK;
  std::uint32_t failedIndex = 0;
  const bool converted =
      ((Succeeded(hr = ArgumentValue(I < args.size() ? &args[I] : nullptr, std::get<I>(values))) ||
        (failedIndex = I, false)) &&
       ...);
  if (!converted && argError) *argError = failedIndex;
  return hr;
}

} // namespace detail

template <auto Member>
HRESULT InvokeMember(IDispatch& object, std::span<const Variant> args, Variant* result, std::uint32_t* argError) {
  using Traits = detail::MemberTraits<decltype(Member)>;
  typename Traits::Values values{};
  if (const HRESULT hr = detail::ConvertArguments<Traits>(args, values, argError,
                                                          std::make_index_sequence<Traits::inCount>());
      Failed(hr))
    return hr;
  auto& target = static_cast<typename Traits::Class&>(object);
  const HRESULT hr = Traits::template Call<Member>(target, values, std::make_index_sequence<Traits::count>());
  if constexpr (Traits::returnsValue) {
    if (Succeeded(hr) && result) *result = Variant(std::move(std::get<Traits::count - 1>(values)));
  }
  return hr;
}

} // namespace automation
