#include "ComRuntime.h"

#include "ClassRegistry.h"
#include "WideText.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include <dlfcn.h>

namespace automation {

namespace {
constexpr std::string_view kClassesRoot = "HKEY_CLASSES_ROOT\\";

// A server library this process loaded; dlopen counts references, we hold one per entry.
struct LoadedServer {
  std::string path;
  void* handle = nullptr;
  DllGetClassObjectFunction getClassObject = nullptr;
  DllCanUnloadNowFunction canUnloadNow = nullptr;
};

struct ServerTable {
  std::mutex mutex;
  std::vector<LoadedServer> servers;
};

ServerTable& Servers() {
  static ServerTable table;
  return table;
}

// A registry read for one lookup; a missing or damaged file counts as an empty registry.
std::optional<std::string> RegistryText(const std::string& path) {
  try {
    return ClassRegistry::Load(ClassRegistry::DefaultPath()).text(path);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::optional<CLSID> ClassIdOf(const ClassRegistry& registry, const std::string& progIdKey) {
  const auto text = registry.text(progIdKey + "\\CLSID");
  return text ? GuidFromString(*text) : std::nullopt;
}

HRESULT LoadServer(const std::string& path, LoadedServer* loaded) {
  ServerTable& table = Servers();
  std::lock_guard lock(table.mutex);
  const auto known = std::find_if(table.servers.begin(), table.servers.end(),
                                  [&](const LoadedServer& server) { return server.path == path; });
  if (known != table.servers.end()) {
    *loaded = *known;
    return S_OK;
  }
  LoadedServer server{path, dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL), nullptr, nullptr};
  if (!server.handle) return CO_E_DLLNOTFOUND;
  server.getClassObject = reinterpret_cast<DllGetClassObjectFunction>(dlsym(server.handle, "DllGetClassObject"));
  server.canUnloadNow = reinterpret_cast<DllCanUnloadNowFunction>(dlsym(server.handle, "DllCanUnloadNow"));
  if (!server.getClassObject) {
    dlclose(server.handle);
    return CO_E_ERRORINDLL;
  }
  table.servers.push_back(server);
  *loaded = server;
  return S_OK;
}
} // namespace

HRESULT CLSIDFromProgID(std::u16string_view progId, CLSID* clsid) {
  if (!clsid) return E_POINTER;
  if (progId.empty()) return CO_E_CLASSSTRING;
  ClassRegistry registry;
  try {
    registry = ClassRegistry::Load(ClassRegistry::DefaultPath());
  } catch (const std::exception&) {
    return REGDB_E_READREGDB;
  }
  const std::string key = std::string(kClassesRoot) + NarrowFromWide(progId);
  auto found = ClassIdOf(registry, key);
  if (!found) {
    if (const auto current = registry.text(key + "\\CurVer"))
      found = ClassIdOf(registry, std::string(kClassesRoot) + *current);
  }
  if (!found) return CO_E_CLASSSTRING;
  *clsid = *found;
  return S_OK;
}

HRESULT CoGetClassObject(const CLSID& clsid, const IID& iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  const auto path = RegistryText(std::string(kClassesRoot) + "CLSID\\" + GuidToString(clsid) + "\\InprocServer32");
  if (!path || path->empty()) return REGDB_E_CLASSNOTREG;
  LoadedServer server;
  if (const HRESULT hr = LoadServer(*path, &server); Failed(hr)) return hr;
  return server.getClassObject(clsid, iid, object);
}

HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, const IID& iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  ComPtr<IClassFactory> factory;
  if (const HRESULT hr = CoGetClassObject(clsid, IClassFactory::Iid, factory.put()); Failed(hr)) return hr;
  return factory->CreateInstance(outer, iid, object);
}

HRESULT CreateObjectByProgId(std::u16string_view progId, const IID& iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  CLSID clsid;
  if (const HRESULT hr = CLSIDFromProgID(progId, &clsid); Failed(hr)) return hr;
  return CoCreateInstance(clsid, nullptr, iid, object);
}

void CoFreeUnusedLibraries() {
  ServerTable& table = Servers();
  std::lock_guard lock(table.mutex);
  std::erase_if(table.servers, [](const LoadedServer& server) {
    if (!server.canUnloadNow || server.canUnloadNow() != S_OK) return false;
    dlclose(server.handle);
    return true;
  });
}

HRESULT RunServerRegistration(const std::string& serverPath, bool install, std::string* error) {
  void* library = dlopen(serverPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    if (error) *error = dlerror();
    return CO_E_DLLNOTFOUND;
  }
  const char* exportName = install ? "DllRegisterServer" : "DllUnregisterServer";
  const auto entry = reinterpret_cast<DllRegisterServerFunction>(dlsym(library, exportName));
  const HRESULT result = entry ? entry() : CO_E_ERRORINDLL;
  if (!entry && error) *error = std::string("no ") + exportName;
  dlclose(library);
  return result;
}

HRESULT CallByName(IDispatch& object, std::u16string_view member, std::uint16_t flags,
                   std::span<const Variant> args, Variant* result) {
  DISPID id = DISPID_UNKNOWN;
  const std::u16string_view names[] = {member};
  if (const HRESULT hr = object.GetIDsOfNames(names, std::span<DISPID>(&id, 1)); Failed(hr)) return hr;
  return object.Invoke(id, flags, args, result, nullptr);
}

HRESULT CallByName(IDispatch& object, std::u16string_view member, std::uint16_t flags,
                   std::initializer_list<Variant> args, Variant* result) {
  return CallByName(object, member, flags, std::span<const Variant>(args.begin(), args.size()), result);
}

} // namespace automation
