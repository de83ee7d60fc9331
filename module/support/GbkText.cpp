#include "support/GbkText.h"

#include "os/CodePage.h"

std::string Gbk(std::string_view utf8) {
  return os::ConvertAnsi(utf8, os::CP_UTF8, os::CP_GBK);
}
