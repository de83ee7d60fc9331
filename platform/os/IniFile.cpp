#include "os/IniFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace os {
namespace {

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view Trim(std::string_view text) {
  const char* blanks = " \t\r\n\f\v";
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

IniFile::IniFile(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) return;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) return;
  exists_ = true;
  Parse(buffer.str());
}

IniFile IniFile::FromText(std::string_view text) {
  IniFile file;
  file.exists_ = true;
  file.Parse(text);
  return file;
}

void IniFile::Parse(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // a UTF-8 mark some editors add
  Section* current = nullptr;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const size_t close = line.find(']');
      std::string_view name =
          Trim(close == std::string_view::npos ? line.substr(1) : line.substr(1, close - 1));
      current = nullptr;
      for (Section& section : sections_)
        if (SameText(section.name, name)) current = &section;
      if (!current) {
        sections_.push_back(Section{std::string(name), {}});
        current = &sections_.back();
      }
      continue;
    }
    const size_t equals = line.find('=');
    if (!current || equals == std::string_view::npos) continue;
    std::string_view name = Trim(line.substr(0, equals));
    std::string_view value = Unquote(Trim(line.substr(equals + 1)));
    bool known = false;
    for (const IniEntry& entry : current->entries)
      if (SameText(entry.name, name)) known = true;
    if (!known) current->entries.push_back(IniEntry{std::string(name), std::string(value)});
  }
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
  for (const Section& section : sections_)
    if (SameText(section.name, name)) return &section;
  return nullptr;
}

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key) const {
  const Section* found = FindSection(section);
  if (!found) return std::nullopt;
  for (const IniEntry& entry : found->entries)
    if (SameText(entry.name, key)) return entry.value;
  return std::nullopt;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
  std::optional<std::string> value = Find(section, key);
  return value ? *value : std::string(defaultValue);
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
  std::optional<std::string> value = Find(section, key);
  if (!value || value->empty()) return defaultValue;
  std::string_view text = *value;
  bool negative = false;
  if (text.front() == '+' || text.front() == '-') {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    base = 16;
    text.remove_prefix(2);
  } else if (text.starts_with("$")) {
    base = 16;
    text.remove_prefix(1);
  }
  if (text.empty()) return defaultValue;
  long long result = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (base == 16 && Lower(c) >= 'a' && Lower(c) <= 'f')
      digit = Lower(c) - 'a' + 10;
    else
      return defaultValue;
    result = result * base + digit;
    if (result > static_cast<long long>(INT_MAX) + 1) return defaultValue;
  }
  if (negative) result = -result;
  if (result > INT_MAX || result < INT_MIN) return defaultValue;
  return static_cast<int>(result);
}

bool IniFile::SectionExists(std::string_view section) const {
  return FindSection(section) != nullptr;
}

bool IniFile::ValueExists(std::string_view section, std::string_view key) const {
  return Find(section, key).has_value();
}

std::vector<std::string> IniFile::ReadSections() const {
  std::vector<std::string> names;
  for (const Section& section : sections_) names.push_back(section.name);
  return names;
}

std::vector<IniEntry> IniFile::ReadSectionValues(std::string_view section) const {
  const Section* found = FindSection(section);
  return found ? found->entries : std::vector<IniEntry>{};
}

}  // namespace os
