#include "ClassRegistry.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace automation {

namespace {
constexpr char kSeparator = '\\';

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view ParentOf(std::string_view path) {
  const auto cut = path.rfind(kSeparator);
  return cut == std::string_view::npos ? std::string_view() : path.substr(0, cut);
}

bool IsBelow(std::string_view path, std::string_view ancestor) {
  return path.size() > ancestor.size() && path[ancestor.size()] == kSeparator &&
         std::equal(ancestor.begin(), ancestor.end(), path.begin(),
                    [](char a, char b) { return FoldCase(a) == FoldCase(b); });
}

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
    case '"': out += "\\\""; break;
    case '\\': out += "\\\\"; break;
    case '\n': out += "\\n"; break;
    case '\r': out += "\\r"; break;
    default: out += c;
    }
  }
  return out + '"';
}

[[noreturn]] void Malformed(std::size_t lineNumber, const std::string& why) {
  throw std::runtime_error("class registry line " + std::to_string(lineNumber) + ": " + why);
}

// Reads a quoted text at line[pos] and moves pos past it.
std::string Unquote(std::string_view line, std::size_t& pos, std::size_t lineNumber) {
  if (pos >= line.size() || line[pos] != '"') Malformed(lineNumber, "expected '\"'");
  std::string out;
  for (++pos; pos < line.size(); ++pos) {
    char c = line[pos];
    if (c == '"') {
      ++pos;
      return out;
    }
    if (c == '\\') {
      if (++pos >= line.size()) break;
      c = line[pos];
      if (c == 'n') c = '\n';
      else if (c == 'r') c = '\r';
    }
    out += c;
  }
  Malformed(lineNumber, "unterminated text");
}

ClassRegistry::Value ParseValue(std::string_view text, std::size_t lineNumber) {
  if (text.starts_with("dword:")) {
    const std::string digits(text.substr(6));
    char* end = nullptr;
    const unsigned long value = std::strtoul(digits.c_str(), &end, 16);
    if (digits.empty() || *end != '\0' || value > 0xFFFFFFFFul) Malformed(lineNumber, "bad dword");
    return static_cast<std::uint32_t>(value);
  }
  std::size_t pos = 0;
  std::string value = Unquote(text, pos, lineNumber);
  if (pos != text.size()) Malformed(lineNumber, "text after value");
  return value;
}

std::string ValueText(const ClassRegistry::Value& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return Quoted(*text);
  char dword[16];
  std::snprintf(dword, sizeof dword, "dword:%08x", std::get<std::uint32_t>(value));
  return dword;
}

std::filesystem::path EnvironmentPath(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? std::filesystem::path(value) : std::filesystem::path();
}

// An exclusive lock on "<file>.lock", held while the object lives.
class FileLock final {
public:
  explicit FileLock(const std::filesystem::path& file) {
    std::filesystem::create_directories(file.parent_path().empty() ? "." : file.parent_path());
    m_fd = ::open((file.string() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0 || ::flock(m_fd, LOCK_EX) != 0) throw std::runtime_error("cannot lock " + file.string());
  }
  ~FileLock() {
    if (m_fd >= 0) ::close(m_fd);
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

private:
  int m_fd = -1;
};
} // namespace

// The separator sorts first, so that every key is followed by its subkeys.
bool ClassRegistry::CaseLess::operator()(std::string_view a, std::string_view b) const {
  const auto order = [](char c) { return c == kSeparator ? '\1' : FoldCase(c); };
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [&](char x, char y) { return order(x) < order(y); });
}

std::filesystem::path ClassRegistry::DefaultPath() {
  if (auto path = EnvironmentPath("HORAVANT_AUTOMATION_REGISTRY"); !path.empty()) return path;
  auto config = EnvironmentPath("XDG_CONFIG_HOME");
  if (config.empty()) config = EnvironmentPath("HOME") / ".config";
  return config / "Ostrelo" / "automation-registry";
}

ClassRegistry ClassRegistry::Load(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    if (!std::filesystem::exists(file)) return {};
    throw std::runtime_error("cannot read " + file.string());
  }
  std::ostringstream text;
  text << in.rdbuf();
  return Parse(text.str());
}

ClassRegistry ClassRegistry::Parse(std::string_view text) {
  ClassRegistry registry;
  std::string key;
  std::size_t lineNumber = 0;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      if (line.size() < 3 || line.back() != ']') Malformed(lineNumber, "bad key line");
      key = std::string(line.substr(1, line.size() - 2));
      registry.createKey(key);
      continue;
    }
    if (key.empty()) Malformed(lineNumber, "value outside a key");
    std::size_t pos = 0;
    std::string name;
    if (line.front() == '@')
      pos = 1;
    else
      name = Unquote(line, pos, lineNumber);
    if (pos >= line.size() || line[pos] != '=') Malformed(lineNumber, "expected '='");
    registry.setValue(key, name, ParseValue(line.substr(pos + 1), lineNumber));
  }
  return registry;
}

std::string ClassRegistry::toText() const {
  std::string out = "; Horavant automation class registry (written by horavant-regsvr and servers)\n";
  for (const auto& [path, key] : m_keys) {
    out += "\n[" + key.path + "]\n";
    for (const auto& [name, value] : key.values)
      out += (name.empty() ? std::string("@") : Quoted(name)) + '=' + ValueText(value) + '\n';
  }
  return out;
}

void ClassRegistry::save(const std::filesystem::path& file) const {
  if (!file.parent_path().empty()) std::filesystem::create_directories(file.parent_path());
  const std::filesystem::path temporary = file.string() + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << toText();
    out.flush();
    if (!out) throw std::runtime_error("cannot write " + temporary.string());
  }
  std::filesystem::rename(temporary, file);
}

bool ClassRegistry::hasKey(std::string_view path) const { return m_keys.find(path) != m_keys.end(); }

void ClassRegistry::createKey(std::string_view path) {
  if (path.empty() || hasKey(path)) return;
  if (path.find('\n') != std::string_view::npos || path.find("\\\\") != std::string_view::npos ||
      path.back() == kSeparator)
    throw std::invalid_argument("bad registry key name: " + std::string(path));
  createKey(ParentOf(path));
  m_keys.emplace(std::string(path), Key{std::string(path), {}});
}

bool ClassRegistry::deleteKey(std::string_view path) {
  if (!hasKey(path)) return false;
  std::erase_if(m_keys, [&](const auto& entry) { return IsBelow(entry.first, path); });
  m_keys.erase(m_keys.find(path));
  return true;
}

std::vector<std::string> ClassRegistry::subkeys(std::string_view path) const {
  std::vector<std::string> names;
  for (const auto& [fullPath, key] : m_keys)
    if (IsBelow(fullPath, path) && fullPath.find(kSeparator, path.size() + 1) == std::string::npos)
      names.push_back(key.path.substr(path.size() + 1));
  return names;
}

std::optional<ClassRegistry::Value> ClassRegistry::value(std::string_view path, std::string_view name) const {
  const auto key = m_keys.find(path);
  if (key == m_keys.end()) return std::nullopt;
  const auto value = key->second.values.find(name);
  if (value == key->second.values.end()) return std::nullopt;
  return value->second;
}

std::optional<std::string> ClassRegistry::text(std::string_view path, std::string_view name) const {
  const auto found = value(path, name);
  if (!found || !std::holds_alternative<std::string>(*found)) return std::nullopt;
  return std::get<std::string>(*found);
}

std::vector<std::string> ClassRegistry::valueNames(std::string_view path) const {
  std::vector<std::string> names;
  if (const auto key = m_keys.find(path); key != m_keys.end())
    for (const auto& entry : key->second.values) names.push_back(entry.first);
  return names;
}

void ClassRegistry::setValue(std::string_view path, std::string_view name, Value value) {
  createKey(path);
  auto& values = m_keys.find(path)->second.values;
  if (const auto existing = values.find(name); existing != values.end())
    existing->second = std::move(value);
  else
    values.emplace(std::string(name), std::move(value));
}

bool ClassRegistry::deleteValue(std::string_view path, std::string_view name) {
  const auto key = m_keys.find(path);
  if (key == m_keys.end()) return false;
  const auto value = key->second.values.find(name);
  if (value == key->second.values.end()) return false;
  key->second.values.erase(value);
  return true;
}

HRESULT UpdateClassRegistry(const std::filesystem::path& file, const std::function<HRESULT(ClassRegistry&)>& change) {
  try {
    FileLock lock(file);
    ClassRegistry registry;
    try {
      registry = ClassRegistry::Load(file);
    } catch (const std::exception&) {
      return REGDB_E_READREGDB;
    }
    const HRESULT hr = change(registry);
    if (Succeeded(hr)) registry.save(file);
    return hr;
  } catch (const std::exception&) {
    return REGDB_E_WRITEREGDB;
  }
}

} // namespace automation
