// INI files read the way the ERP's home platform reads private-profile files.
//
// Sections and keys are compared without regard to case; the first occurrence of a key wins
// (a section that appears twice is read as one, its first part first); a line without "=" and
// a line that starts with ";" are ignored; lines before the first section belong to no
// section. Blanks around names and values are dropped, and a value enclosed in a matching pair
// of double or single quotes loses them. Values are bytes: GBK texts pass through unchanged.
// A file that is missing or cannot be read reads as empty. The file is read once, when the
// object is made; nothing is written back.
//
// Used by the configuration readers of the support library and by the registry store.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace os {

// One "name=value" line of a section.
struct IniEntry {
  std::string name;
  std::string value;
  bool operator==(const IniEntry&) const = default;
};

class IniFile {
 public:
  // Reads the file now; a missing or unreadable file gives an empty object.
  explicit IniFile(const std::string& fileName);

  // An object over text already in memory (CR LF and LF line ends alike).
  static IniFile FromText(std::string_view text);

  // Whether the file was found and read.
  bool Exists() const { return exists_; }

  // The value of a key; `defaultValue` when the section or the key is missing.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;

  // The value read as an integer (optional sign, decimal digits, or hexadecimal after "0x"
  // or "$"); `defaultValue` when missing or not such a number.
  int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;

  // The value when the key exists.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;

  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;

  // The section names in file order, each once.
  std::vector<std::string> ReadSections() const;

  // The "name=value" lines of a section in file order; a key that appears again later is
  // listed once, at its first place, with its first value. Empty for a missing section.
  std::vector<IniEntry> ReadSectionValues(std::string_view section) const;

 private:
  IniFile() = default;
  struct Section {
    std::string name;
    std::vector<IniEntry> entries;
  };
  void Parse(std::string_view text);
  const Section* FindSection(std::string_view name) const;

  std::vector<Section> sections_;
  bool exists_ = false;
};

// Whether two names are equal without regard to the case of ASCII letters (bytes of two-byte
// characters are compared as they are).
bool SameText(std::string_view a, std::string_view b);

}  // namespace os
