#pragma once

#include "TrivaneSDK.h"

#include <memory>

namespace trivane {

// The reader vendor's library, loaded by name through the standard library search path, with its
// 26 entry points resolved.
//
// A library that loads but lacks any of the 26 names is not used: it is unloaded again and counts
// as "could not be loaded" (the object reports ErrorCode -1). Calling into a partial library would
// mean a null function pointer on the first member that needs the missing name, and a half-working
// reader is worse than a clearly absent one.
class TrivaneLibrary final {
public:
  static constexpr const char* kFileName = "libTrivane.so";

  // Null when the library cannot be loaded or lacks an entry point.
  static std::unique_ptr<TrivaneLibrary> Load(const char* fileName = kFileName);
  ~TrivaneLibrary();

  TrivaneLibrary(const TrivaneLibrary&) = delete;
  TrivaneLibrary& operator=(const TrivaneLibrary&) = delete;

#define TRIVANE_ENTRY_POINT(name) decltype(&::TrivAPI_##name) name = nullptr;
  TRIVAPI_ENTRY_POINTS(TRIVANE_ENTRY_POINT)
#undef TRIVANE_ENTRY_POINT

private:
  explicit TrivaneLibrary(void* handle) : m_handle(handle) {}
  bool resolve();

  void* m_handle = nullptr;
};

} // namespace trivane
