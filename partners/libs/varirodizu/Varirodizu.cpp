#include "Varirodizu.h"

#include <opencc/opencc.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "os/CodePage.h"

namespace {

// One loaded OpenCC conversion.
class OpenccConversion {
 public:
  explicit OpenccConversion(opencc_t handle) : handle_(handle) {}
  ~OpenccConversion() { opencc_close(handle_); }
  OpenccConversion(const OpenccConversion&) = delete;
  OpenccConversion& operator=(const OpenccConversion&) = delete;

  // The UTF-8 text converted; the text unchanged when OpenCC fails on it.
  std::string Convert(const std::string& utf8) {
    std::lock_guard<std::mutex> lock(mutex_);  // one conversion at a time on a handle
    char* converted = opencc_convert_utf8(handle_, utf8.data(), utf8.size());
    if (!converted) return utf8;
    std::string result(converted);
    opencc_convert_utf8_free(converted);
    return result;
  }

 private:
  opencc_t handle_;
  std::mutex mutex_;
};

const opencc_t kNoHandle = reinterpret_cast<opencc_t>(-1);

// Where the configuration `name` ("s2t.json") may be: only the folder QZLB27_OPENCC_DIR names
// when it is set; otherwise the name itself (OpenCC finds its own files), then OpenCC's data
// folder as installed.
std::vector<std::string> ConfigCandidates(const std::string& name) {
  if (const char* dir = std::getenv("QZLB27_OPENCC_DIR"); dir && *dir)
    return {std::string(dir) + "/" + name};
  return {name, std::string(VARIRODIZU_OPENCC_DATADIR) + "/" + name, "/usr/share/opencc/" + name};
}

std::unique_ptr<OpenccConversion> LoadConversion(const std::string& name) {
  for (const std::string& candidate : ConfigCandidates(name)) {
    opencc_t handle = opencc_open(candidate.c_str());
    if (handle != kNoHandle) return std::make_unique<OpenccConversion>(handle);
  }
  return nullptr;
}

struct Conversions {
  std::unique_ptr<OpenccConversion> simplifiedToTraditional;
  std::unique_ptr<OpenccConversion> traditionalToSimplified;
  // OpenCC's Traditional forms include some BIG5 lacks ("啓", "爲", "着"); the Taiwan forms of
  // those characters ("啟", "為", "著") are in BIG5.
  std::unique_ptr<OpenccConversion> taiwanVariants;
};

// Loaded at the first conversion, once for the process; a conversion that cannot be loaded
// stays null.
Conversions& Loaded() {
  static Conversions* conversions = [] {
    auto* loaded = new Conversions;  // lives as long as the process, like the library
    try {
      loaded->simplifiedToTraditional = LoadConversion("s2t.json");
      loaded->traditionalToSimplified = LoadConversion("t2s.json");
      loaded->taiwanVariants = LoadConversion("t2tw.json");
    } catch (...) {
      // Without them texts are converted by code page only.
    }
    return loaded;
  }();
  return *conversions;
}

// The answer of the entries on this thread.
thread_local std::string t_result;

const char* Answer(std::string text) {
  t_result = std::move(text);
  return t_result.c_str();
}

size_t QuestionMarks(std::string_view text) {
  return static_cast<size_t>(std::count(text.begin(), text.end(), '?'));
}

size_t QuestionMarks(std::u16string_view text) {
  return static_cast<size_t>(std::count(text.begin(), text.end(), u'?'));
}

// The text in the code page, and whether the code page has every character of it (a character
// it lacks became "?").
std::string Encoded(std::u16string_view text, int codePage, bool* complete) {
  std::string encoded = os::WideToAnsi(text, codePage);
  *complete = QuestionMarks(encoded) == QuestionMarks(text);
  return encoded;
}

// The text in the code page; a character the code page lacks is first replaced by its variant
// when `variants` gives one the code page has, else it becomes "?".
std::string Encode(const std::u16string& text, int codePage, OpenccConversion* variants) {
  bool complete = false;
  std::string encoded = Encoded(text, codePage, &complete);
  if (complete || !variants) return encoded;
  std::u16string result;
  for (size_t i = 0; i < text.size();) {
    const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size();
    std::u16string one = text.substr(i, pair ? 2 : 1);
    i += one.size();
    Encoded(one, codePage, &complete);
    if (!complete) {
      std::u16string variant = os::Utf8ToWide(variants->Convert(os::WideToUtf8(one)));
      Encoded(variant, codePage, &complete);
      if (complete) one = variant;
    }
    result += one;
  }
  return os::WideToAnsi(result, codePage);
}

const char* Convert(const char* text, int fromCodePage, int toCodePage,
                    std::unique_ptr<OpenccConversion> Conversions::*conversion,
                    std::unique_ptr<OpenccConversion> Conversions::*variants) {
  try {
    if (!text || !*text) return Answer({});
    std::string utf8 = os::WideToUtf8(os::AnsiToWide(text, fromCodePage));
    Conversions& loaded = Loaded();
    if (OpenccConversion* characters = (loaded.*conversion).get()) utf8 = characters->Convert(utf8);
    OpenccConversion* fallback = variants ? (loaded.*variants).get() : nullptr;
    return Answer(Encode(os::Utf8ToWide(utf8), toCodePage, fallback));
  } catch (...) {
    return Answer({});
  }
}

}  // namespace

extern "C" {

const char* GBtoBIG5(const char* text) {
  return Convert(text, os::CP_GBK, os::CP_BIG5, &Conversions::simplifiedToTraditional,
                 &Conversions::taiwanVariants);
}

const char* BIG5toGB(const char* text) {
  return Convert(text, os::CP_BIG5, os::CP_GBK, &Conversions::traditionalToSimplified, nullptr);
}

// Looked up by the module, never called: intentionally empty.
const char* GetBIG5Data(const char*) {
  return "";
}
const char* GetGBData(const char*) {
  return "";
}
const char* SaveOrder(const char*) {
  return "";
}

}  // extern "C"
