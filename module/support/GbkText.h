// GBK texts from the source: the module keeps its texts as 8-bit GBK (code page 936), while the
// source files are UTF-8. Units that write Chinese texts in code pass each literal through Gbk.
#pragma once

#include <string>
#include <string_view>

// The UTF-8 text as GBK bytes. Characters GBK lacks become "?"; ASCII passes unchanged.
std::string Gbk(std::string_view utf8);
