#pragma once

#include "ClassRegistry.h"
#include "TypeInfo.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

// What a self-registering server uses in DllRegisterServer / DllUnregisterServer.
namespace automation {

// A registration script in the registry-script syntax of COM class frameworks:
//
//   HKCR
//   {
//     Foo.Bar = s 'Bar Class'
//     {
//       CLSID = s '{...}'
//     }
//     NoRemove CLSID
//     {
//       ForceRemove {...} = s 'Bar Class'
//       {
//         InprocServer32 = s '%MODULE%'
//         {
//           val ThreadingModel = s 'Apartment'
//         }
//       }
//     }
//   }
//
// Roots: HKCR, HKCU, HKLM, HKU (or their long names). A key line is [flag] name [= type 'value'],
// optionally followed by a block of its subkeys and values; a value line is [flag] val name = type
// 'value'. Types: s (text), d (32-bit number). Names and texts with blanks are quoted with single
// quotes ('' is a quote inside them). %NAME% is replaced from the replacements map, %% is a '%'.
//
// Installing creates keys and sets values; a ForceRemove key is first deleted with everything below
// it; a Delete key is deleted and not written. Uninstalling visits the script depth first: a
// ForceRemove key is deleted with all below it; a NoRemove key and its values stay, while its
// children are visited; any other key is deleted once the keys below it are gone (a key still
// holding subkeys that the script did not write stays); values the script set are removed.
class RegistrationScript final {
public:
  // Throws std::runtime_error for a malformed script or an unknown placeholder.
  static RegistrationScript Parse(std::string_view script, const std::map<std::string, std::string>& replacements);

  void install(ClassRegistry& registry) const;
  void uninstall(ClassRegistry& registry) const;

private:
  enum class Flag { None, ForceRemove, NoRemove, Delete };
  struct Entry {
    Flag flag = Flag::None;
    bool isValue = false;
    std::string name;
    std::optional<ClassRegistry::Value> value;
    std::vector<Entry> children;
  };
  class Parser;

  static void Install(ClassRegistry& registry, const std::string& parent, const Entry& entry);
  static void Uninstall(ClassRegistry& registry, const std::string& parent, const Entry& entry);

  std::vector<Entry> m_roots;
};

// The type library's keys, as the system's type-library registration writes them:
// HKCR\TypeLib\{libid}\<major.minor> (help string), its 0\linux64 (module path), FLAGS and HELPDIR,
// and HKCR\Interface\{iid} for each interface with its TypeLib and proxy-stub class.
void RegisterTypeLibrary(ClassRegistry& registry, const TypeLibraryInfo& library, std::string_view modulePath);
void UnregisterTypeLibrary(ClassRegistry& registry, const TypeLibraryInfo& library);

// The full path of the shared library that contains address (for %MODULE%); empty when unknown.
std::string ModulePathOf(const void* address);

} // namespace automation
