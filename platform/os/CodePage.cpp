#include "os/CodePage.h"

#include <iconv.h>

#include <atomic>
#include <cerrno>
#include <map>
#include <memory>
#include <utility>

namespace os {
namespace {

std::atomic<int> g_systemCodePage{CP_GBK};

// One iconv descriptor per direction, code page and thread: opening a descriptor costs more
// than most conversions of window texts.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    return cd_;
  }

 private:
  iconv_t cd_;
};

Converter* ConverterFor(const char* to, const char* from) {
  thread_local std::map<std::pair<std::string, std::string>, std::unique_ptr<Converter>> cache;
  auto key = std::make_pair(std::string(to), std::string(from));
  auto it = cache.find(key);
  if (it == cache.end()) it = cache.emplace(key, std::make_unique<Converter>(to, from)).first;
  return it->second->valid() ? it->second.get() : nullptr;
}

// Runs iconv over the whole input. `skip` says how many input bytes to pass over, writing
// `replacement`, when the input at a position cannot be converted.
template <typename Skip>
std::string Run(Converter* conv, const char* in, size_t inLen, std::string_view replacement,
                Skip skip) {
  std::string out;
  out.reserve(inLen * 2 + 8);
  iconv_t cd = conv->get();
  char buffer[4096];
  char* src = const_cast<char*>(in);
  size_t left = inLen;
  while (left > 0) {
    char* dst = buffer;
    size_t room = sizeof buffer;
    size_t rc = iconv(cd, &src, &left, &dst, &room);
    out.append(buffer, static_cast<size_t>(dst - buffer));
    if (rc != static_cast<size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ: not convertible here; EINVAL: cut off at the end. Either way one "?".
    size_t n = errno == EINVAL ? left : skip(src, left);
    if (n == 0 || n > left) n = left;
    src += n;
    left -= n;
    out.append(replacement);
  }
  char* dst = buffer;
  size_t room = sizeof buffer;
  iconv(cd, nullptr, nullptr, &dst, &room);
  out.append(buffer, static_cast<size_t>(dst - buffer));
  return out;
}

std::u16string FromBytes(const std::string& bytes) {
  std::u16string result(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < result.size(); ++i) {
    result[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                      (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return result;
}

std::string ToBytes(std::u16string_view text) {
  std::string bytes(text.size() * 2, '\0');
  for (size_t i = 0; i < text.size(); ++i) {
    bytes[2 * i] = static_cast<char>(text[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(text[i] >> 8);
  }
  return bytes;
}

std::u16string DecodeWith(const char* name, int codePage, std::string_view text) {
  Converter* conv = ConverterFor("UTF-16LE", name);
  if (!conv) return {};
  const std::string qmark("?\0", 2);
  auto skip = [codePage](const char* at, size_t left) -> size_t {
    // A lead byte with a trail byte is one undecodable character; anything else one byte.
    if (left >= 2 && IsLeadByte(static_cast<unsigned char>(*at), codePage)) return 2;
    return 1;
  };
  return FromBytes(Run(conv, text.data(), text.size(), qmark, skip));
}

std::string EncodeWith(const char* name, std::u16string_view text) {
  Converter* conv = ConverterFor(name, "UTF-16LE");
  if (!conv) return {};
  const std::string bytes = ToBytes(text);
  auto skip = [](const char* at, size_t left) -> size_t {
    // A surrogate pair is one character.
    if (left >= 4) {
      unsigned hi = static_cast<unsigned char>(at[1]);
      if (hi >= 0xD8 && hi <= 0xDB) return 4;
    }
    return 2;
  };
  return Run(conv, bytes.data(), bytes.size(), "?", skip);
}

}  // namespace

const char* CodePageName(int codePage) {
  switch (codePage) {
    case CP_GBK: return "CP936";
    case CP_BIG5: return "CP950";
    case CP_US: return "CP437";
    case CP_UTF8: return "UTF-8";
    default: return nullptr;
  }
}

bool IsKnownCodePage(int codePage) { return CodePageName(codePage) != nullptr; }

std::u16string AnsiToWide(std::string_view text, int codePage, bool* ok) {
  const char* name = CodePageName(codePage);
  if (ok) *ok = name != nullptr;
  if (!name || text.empty()) return {};
  return DecodeWith(name, codePage, text);
}

std::string WideToAnsi(std::u16string_view text, int codePage, bool* ok) {
  const char* name = CodePageName(codePage);
  if (ok) *ok = name != nullptr;
  if (!name || text.empty()) return {};
  return EncodeWith(name, text);
}

std::string ConvertAnsi(std::string_view text, int fromCodePage, int toCodePage) {
  if (fromCodePage == toCodePage) return std::string(text);
  return WideToAnsi(AnsiToWide(text, fromCodePage), toCodePage);
}

std::u16string Utf8ToWide(std::string_view text) { return AnsiToWide(text, CP_UTF8); }
std::string WideToUtf8(std::u16string_view text) { return WideToAnsi(text, CP_UTF8); }

int SystemCodePage() { return g_systemCodePage.load(); }

void SetSystemCodePage(int codePage) {
  if (IsKnownCodePage(codePage)) g_systemCodePage.store(codePage);
}

bool IsLeadByte(unsigned char byte, int codePage) {
  if (codePage == CP_GBK || codePage == CP_BIG5) return byte >= 0x81 && byte <= 0xFE;
  return false;
}

}  // namespace os
