#include "support/GbkText.h"

#include <gtest/gtest.h>

namespace {

TEST(GbkText, ConvertsUtf8LiteralsToGbkBytes) {
  struct {
    std::string_view utf8;
    std::string gbk;
  } cases[] = {
      {"", ""},
      {"OK (&Y)", "OK (&Y)"},
      {"中文", "\xD6\xD0\xCE\xC4"},
      {"是(&Y)", "\xCA\xC7(&Y)"},
      // A character whose second GBK byte is "|" (0x7C).
      {"亅|", "\x81\x7C|"},
      // Outside GBK: one "?" per character, nothing cut.
      {"a😀b", "a?b"},
  };
  for (const auto& c : cases) EXPECT_EQ(Gbk(c.utf8), c.gbk) << c.utf8;
}

}  // namespace
