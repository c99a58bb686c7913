#include "TrivaneLibrary.h"

#include <dlfcn.h>

namespace trivane {

std::unique_ptr<TrivaneLibrary> TrivaneLibrary::Load(const char* fileName) {
  void* handle = dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
  if (!handle) return nullptr;
  std::unique_ptr<TrivaneLibrary> library(new TrivaneLibrary(handle));
  if (!library->resolve()) return nullptr;
  return library;
}

TrivaneLibrary::~TrivaneLibrary() { dlclose(m_handle); }

bool TrivaneLibrary::resolve() {
  bool complete = true;
#define TRIVANE_RESOLVE(name)                                                                      \
  name = reinterpret_cast<decltype(name)>(dlsym(m_handle, "TrivAPI_" #name));                      \
  complete = complete && name != nullptr;
  TRIVAPI_ENTRY_POINTS(TRIVANE_RESOLVE)
#undef TRIVANE_RESOLVE
  return complete;
}

} // namespace trivane
