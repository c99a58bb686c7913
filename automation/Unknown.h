#pragma once

#include "Guid.h"
#include "HResult.h"

#include <utility>

namespace automation {

// Every object is reference counted through IUnknown and frees itself on its last Release.
// Interfaces are abstract classes without a virtual destructor, as in COM: nobody deletes an
// object through an interface pointer. Each interface carries its identifier as Iid.
struct IUnknown {
  static constexpr IID Iid = Guid("{00000000-0000-0000-C000-000000000046}");
  virtual HRESULT QueryInterface(const IID& iid, void** object) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

protected:
  ~IUnknown() = default;
};

// Creates the objects of one class; a server hands it out through DllGetClassObject.
struct IClassFactory : IUnknown {
  static constexpr IID Iid = Guid("{00000001-0000-0000-C000-000000000046}");
  // outer: the controlling object when the new one is aggregated (then iid must be IUnknown).
  virtual HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** object) = 0;
  // Keeps the server loaded while locked, whether or not objects exist.
  virtual HRESULT LockServer(bool lock) = 0;

protected:
  ~IClassFactory() = default;
};

inline constexpr IID IID_IUnknown = IUnknown::Iid;
inline constexpr IID IID_IClassFactory = IClassFactory::Iid;

// Owns one reference to an interface.
template <class T>
class ComPtr final {
public:
  ComPtr() noexcept = default;
  ComPtr(std::nullptr_t) noexcept {}
  // Takes a new reference (AddRef).
  explicit ComPtr(T* object) noexcept : m_object(object) { addRef(); }
  ComPtr(const ComPtr& other) noexcept : m_object(other.m_object) { addRef(); }
  ComPtr(ComPtr&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
  ~ComPtr() { reset(); }

  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(m_object, other.m_object);
    return *this;
  }

  // Adopts a reference the caller already owns (no AddRef).
  static ComPtr Attach(T* object) noexcept {
    ComPtr pointer;
    pointer.m_object = object;
    return pointer;
  }
  // Gives up the reference without releasing it.
  T* Detach() noexcept { return std::exchange(m_object, nullptr); }

  void reset() noexcept {
    if (T* object = std::exchange(m_object, nullptr)) object->Release();
  }

  T* get() const noexcept { return m_object; }
  T* operator->() const noexcept { return m_object; }
  T& operator*() const noexcept { return *m_object; }
  explicit operator bool() const noexcept { return m_object != nullptr; }

  // For out parameters: releases the held reference, returns where the new one goes.
  void** put() noexcept {
    reset();
    return reinterpret_cast<void**>(&m_object);
  }

  // QueryInterface for U; null when the object does not implement it.
  template <class U>
  ComPtr<U> As(HRESULT* result = nullptr) const {
    ComPtr<U> other;
    const HRESULT hr = m_object ? m_object->QueryInterface(U::Iid, other.put()) : E_POINTER;
    if (result) *result = hr;
    return other;
  }

private:
  void addRef() noexcept {
    if (m_object) m_object->AddRef();
  }

  T* m_object = nullptr;
};

} // namespace automation
