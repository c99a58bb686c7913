#pragma once

#include "HResult.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace automation {

// The class registry: keys and values as the Windows registry holds them, kept in a text file.
// Key paths start with the root ("HKEY_CLASSES_ROOT\CLSID\{...}\InprocServer32"); key and value
// names are matched without regard to letter case and keep the case they were written in. The
// default value of a key has the empty name. Texts are UTF-8.
//
// File format (the registry editor's export format):
//   ; comment
//   [HKEY_CLASSES_ROOT\TrivaneCOM.APIInterface]
//   @="APIInterface Class"
//   "ThreadingModel"="Apartment"
//   "409"=dword:00000001
// Every key has its own section, including keys without values. In quoted texts a backslash
// escapes '"', '\' and the letters n and r (line breaks).
class ClassRegistry final {
public:
  using Value = std::variant<std::string, std::uint32_t>;

  // $HORAVANT_AUTOMATION_REGISTRY when set, else $XDG_CONFIG_HOME/Ostrelo/automation-registry,
  // else ~/.config/Ostrelo/automation-registry.
  static std::filesystem::path DefaultPath();

  // A missing file is an empty registry; an unreadable or malformed one throws std::runtime_error.
  static ClassRegistry Load(const std::filesystem::path& file);
  // Writes a new file and renames it over the old one, creating the folder when needed.
  void save(const std::filesystem::path& file) const;

  static ClassRegistry Parse(std::string_view text);
  std::string toText() const;

  bool hasKey(std::string_view path) const;
  // Creates the key and any missing parent.
  void createKey(std::string_view path);
  // Removes the key with all its subkeys; false when there was no such key.
  bool deleteKey(std::string_view path);
  // The direct subkeys' names.
  std::vector<std::string> subkeys(std::string_view path) const;

  std::optional<Value> value(std::string_view path, std::string_view name = {}) const;
  // The value as text; nullopt when missing or not a text.
  std::optional<std::string> text(std::string_view path, std::string_view name = {}) const;
  std::vector<std::string> valueNames(std::string_view path) const;
  // Creates the key when needed.
  void setValue(std::string_view path, std::string_view name, Value value);
  bool deleteValue(std::string_view path, std::string_view name);

  bool operator==(const ClassRegistry&) const = default;

private:
  struct CaseLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  struct Key {
    std::string path; // as first written
    std::map<std::string, Value, CaseLess> values;
    bool operator==(const Key&) const = default;
  };
  std::map<std::string, Key, CaseLess> m_keys;
};

// Loads the file, lets change() modify the registry and saves it, holding a lock on the file so
// that two registrars do not lose each other's changes. The change is saved only when change()
// succeeds. Errors reading or writing give REGDB_E_READREGDB / REGDB_E_WRITEREGDB.
HRESULT UpdateClassRegistry(const std::filesystem::path& file, const std::function<HRESULT(ClassRegistry&)>& change);

} // namespace automation
