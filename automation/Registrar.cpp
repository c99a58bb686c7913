#include "Registrar.h"

#include "WideText.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include <dlfcn.h>

namespace automation {

namespace {
bool SameWord(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::string RootName(std::string_view root) {
  static constexpr std::pair<std::string_view, std::string_view> roots[] = {
      {"HKCR", "HKEY_CLASSES_ROOT"},
      {"HKCU", "HKEY_CURRENT_USER"},
      {"HKLM", "HKEY_LOCAL_MACHINE"},
      {"HKU", "HKEY_USERS"},
  };
  for (const auto& [shortName, longName] : roots)
    if (SameWord(root, shortName) || SameWord(root, longName)) return std::string(longName);
  throw std::runtime_error("unknown registry root " + std::string(root));
}

std::string Join(std::string_view parent, std::string_view name) { return std::string(parent) + '\\' + std::string(name); }
} // namespace

// Reads the script into entries: tokens are quoted texts, the lone characters { } =, and runs of
// other characters between blanks (so "{9C31...}" is a name, "{" opens a block).
class RegistrationScript::Parser final {
public:
  Parser(std::string_view script, const std::map<std::string, std::string>& replacements)
      : m_script(script), m_replacements(replacements) {}

  std::vector<Entry> roots() {
    std::vector<Entry> roots;
    while (next()) {
      Entry root;
      root.name = RootName(m_token);
      root.flag = Flag::NoRemove;
      expect("{");
      root.children = block();
      roots.push_back(std::move(root));
    }
    return roots;
  }

private:
  // The entries up to the closing brace of a block whose opening brace has been read.
  std::vector<Entry> block() {
    std::vector<Entry> entries;
    for (;;) {
      if (!next()) fail("missing '}'");
      if (isPunctuation("}")) return entries;
      entries.push_back(entry());
    }
  }

  Entry entry() {
    Entry entry;
    if (!m_quoted) {
      if (SameWord(m_token, "ForceRemove")) entry.flag = Flag::ForceRemove;
      else if (SameWord(m_token, "NoRemove")) entry.flag = Flag::NoRemove;
      else if (SameWord(m_token, "Delete")) entry.flag = Flag::Delete;
      if (entry.flag != Flag::None && !next()) fail("name expected");
    }
    if (!m_quoted && SameWord(m_token, "val")) {
      entry.isValue = true;
      if (!next()) fail("value name expected");
    }
    if (isPunctuation("{") || isPunctuation("}") || isPunctuation("=")) fail("name expected");
    entry.name = m_token;
    const std::size_t afterName = m_pos;
    if (next() && isPunctuation("=")) {
      entry.value = value();
    } else {
      m_pos = afterName;
    }
    if (entry.isValue) {
      if (!entry.value) fail("value without '='");
      return entry;
    }
    const std::size_t afterEntry = m_pos;
    if (next() && isPunctuation("{"))
      entry.children = block();
    else
      m_pos = afterEntry;
    return entry;
  }

  ClassRegistry::Value value() {
    if (!next()) fail("value type expected");
    const std::string type = m_token;
    if (!next()) fail("value expected");
    if (SameWord(type, "s")) return m_token;
    if (SameWord(type, "d")) {
      char* end = nullptr;
      const unsigned long number = std::strtoul(m_token.c_str(), &end, 0);
      if (m_token.empty() || *end != '\0' || number > 0xFFFFFFFFul) fail("bad number " + m_token);
      return static_cast<std::uint32_t>(number);
    }
    fail("unsupported value type " + type);
  }

  void expect(std::string_view punctuation) {
    if (!next() || !isPunctuation(punctuation)) fail("expected '" + std::string(punctuation) + "'");
  }

  bool isPunctuation(std::string_view text) const { return !m_quoted && m_token == text; }

  // Reads the next token into m_token; false at the end of the script.
  bool next() {
    while (m_pos < m_script.size() && std::isspace(static_cast<unsigned char>(m_script[m_pos]))) ++m_pos;
    if (m_pos >= m_script.size()) return false;
    std::string raw;
    m_quoted = m_script[m_pos] == '\'';
    if (m_quoted) {
      for (++m_pos;; ++m_pos) {
        if (m_pos >= m_script.size()) fail("unterminated quote");
        if (m_script[m_pos] == '\'') {
          if (m_pos + 1 < m_script.size() && m_script[m_pos + 1] == '\'') {
            raw += '\'';
            ++m_pos;
            continue;
          }
          ++m_pos;
          break;
        }
        raw += m_script[m_pos];
      }
    } else {
      while (m_pos < m_script.size() && !std::isspace(static_cast<unsigned char>(m_script[m_pos])))
        raw += m_script[m_pos++];
    }
    m_token = substitute(raw);
    return true;
  }

  std::string substitute(std::string_view raw) const {
    std::string out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] != '%') {
        out += raw[i];
        continue;
      }
      const auto end = raw.find('%', i + 1);
      if (end == std::string_view::npos) fail("unterminated placeholder");
      const std::string name(raw.substr(i + 1, end - i - 1));
      if (name.empty()) {
        out += '%';
      } else {
        const auto replacement = m_replacements.find(name);
        if (replacement == m_replacements.end()) fail("unknown placeholder %" + name + "%");
        out += replacement->second;
      }
      i = end;
    }
    return out;
  }

  [[noreturn]] void fail(const std::string& why) const {
    throw std::runtime_error("registration script, offset " + std::to_string(m_pos) + ": " + why);
  }

  std::string_view m_script;
  const std::map<std::string, std::string>& m_replacements;
  std::size_t m_pos = 0;
  std::string m_token;
  bool m_quoted = false;
};

RegistrationScript RegistrationScript::Parse(std::string_view script,
                                             const std::map<std::string, std::string>& replacements) {
  RegistrationScript parsed;
  parsed.m_roots = Parser(script, replacements).roots();
  return parsed;
}

void RegistrationScript::install(ClassRegistry& registry) const {
  for (const Entry& root : m_roots)
    for (const Entry& entry : root.children) Install(registry, root.name, entry);
}

void RegistrationScript::uninstall(ClassRegistry& registry) const {
  for (const Entry& root : m_roots)
    for (const Entry& entry : root.children) Uninstall(registry, root.name, entry);
}

void RegistrationScript::Install(ClassRegistry& registry, const std::string& parent, const Entry& entry) {
  if (entry.isValue) {
    registry.setValue(parent, entry.name, *entry.value);
    return;
  }
  const std::string path = Join(parent, entry.name);
  if (entry.flag == Flag::Delete || entry.flag == Flag::ForceRemove) registry.deleteKey(path);
  if (entry.flag == Flag::Delete) return;
  registry.createKey(path);
  if (entry.value) registry.setValue(path, {}, *entry.value);
  for (const Entry& child : entry.children) Install(registry, path, child);
}

void RegistrationScript::Uninstall(ClassRegistry& registry, const std::string& parent, const Entry& entry) {
  if (entry.isValue) {
    if (entry.flag != Flag::NoRemove) registry.deleteValue(parent, entry.name);
    return;
  }
  const std::string path = Join(parent, entry.name);
  if (!registry.hasKey(path) || entry.flag == Flag::Delete) return;
  if (entry.flag == Flag::ForceRemove) {
    registry.deleteKey(path);
    return;
  }
  for (const Entry& child : entry.children) Uninstall(registry, path, child);
  if (entry.flag != Flag::NoRemove && registry.subkeys(path).empty()) registry.deleteKey(path);
}

namespace {
constexpr std::string_view kAutomationProxyStub = "{00020424-0000-0000-C000-000000000046}";

std::string LibraryKey(const TypeLibraryInfo& library) {
  return "HKEY_CLASSES_ROOT\\TypeLib\\" + GuidToString(library.libid);
}
std::string VersionText(const TypeLibraryInfo& library) {
  return std::to_string(library.majorVersion) + '.' + std::to_string(library.minorVersion);
}
std::string InterfaceKey(const InterfaceInfo& info) {
  return "HKEY_CLASSES_ROOT\\Interface\\" + GuidToString(info.iid);
}
std::string HexText(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%x", value);
  return text;
}
} // namespace

void RegisterTypeLibrary(ClassRegistry& registry, const TypeLibraryInfo& library, std::string_view modulePath) {
  const std::string version = Join(LibraryKey(library), VersionText(library));
  registry.deleteKey(version);
  registry.setValue(version, {}, NarrowFromWide(library.helpString));
  registry.setValue(Join(Join(version, HexText(library.lcid)), "linux64"), {}, std::string(modulePath));
  registry.setValue(Join(version, "FLAGS"), {}, std::string("0"));
  registry.setValue(Join(version, "HELPDIR"), {}, std::filesystem::path(modulePath).parent_path().string());
  for (const InterfaceInfo* info : library.interfaces) {
    const std::string key = InterfaceKey(*info);
    registry.deleteKey(key);
    registry.setValue(key, {}, NarrowFromWide(info->name));
    registry.setValue(Join(key, "ProxyStubClsid"), {}, std::string(kAutomationProxyStub));
    registry.setValue(Join(key, "ProxyStubClsid32"), {}, std::string(kAutomationProxyStub));
    registry.setValue(Join(key, "TypeLib"), {}, GuidToString(library.libid));
    registry.setValue(Join(key, "TypeLib"), "Version", VersionText(library));
  }
}

void UnregisterTypeLibrary(ClassRegistry& registry, const TypeLibraryInfo& library) {
  registry.deleteKey(Join(LibraryKey(library), VersionText(library)));
  if (registry.hasKey(LibraryKey(library)) && registry.subkeys(LibraryKey(library)).empty())
    registry.deleteKey(LibraryKey(library));
  for (const InterfaceInfo* info : library.interfaces) registry.deleteKey(InterfaceKey(*info));
}

std::string ModulePathOf(const void* address) {
  Dl_info info{};
  if (!dladdr(address, &info) || !info.dli_fname) return {};
  std::error_code error;
  const auto path = std::filesystem::canonical(info.dli_fname, error);
  return error ? std::string(info.dli_fname) : path.string();
}

} // namespace automation
