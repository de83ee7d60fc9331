// qzlb27-tool: the support library's configuration readers, calendar rules, password coding and
// message formatter for administrators and scripts.
//
// One command from the arguments, or with --batch one command per line of standard input, its
// words separated by tab characters, each answered on one line of standard output (an answer of
// several lines has them joined by tabs; a command that cannot run answers "ERROR: <reason>").
// Exit status: 0 done, 1 a format did not fit its arguments, 2 bad arguments (a one-line
// message on standard error naming the argument; in batch mode, when any line had them).
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "ToolCommands.h"

namespace {

constexpr int kFailed = 1;
constexpr int kBadArguments = 2;

std::string Joined(const std::vector<std::string>& lines, char separator) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) text += separator;
    text += lines[i];
  }
  return text;
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> words;
  size_t start = 0;
  for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
    words.push_back(line.substr(start, tab - start));
  words.push_back(line.substr(start));
  return words;
}

int RunBatch() {
  int status = 0;
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string answer;
    try {
      CommandAnswer result =
          RunCommand(line.empty() ? std::vector<std::string>{} : SplitTabs(line));
      answer = Joined(result.lines, '\t');
      if (result.failed && status == 0) status = kFailed;
    } catch (const BadArgument& error) {
      answer = std::string("ERROR: ") + error.what();
      status = kBadArguments;
    } catch (const std::exception& error) {
      answer = std::string("ERROR: ") + error.what();
      if (status == 0) status = kFailed;
    }
    std::cout << answer << '\n';
  }
  std::cout.flush();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::vector<std::string> words(argv + 1, argv + argc);
  if (words.size() == 1 && (words[0] == "--help" || words[0] == "-h")) {
    std::cout << UsageText();
    return 0;
  }
  if (words.size() == 1 && words[0] == "--batch") return RunBatch();
  try {
    CommandAnswer result = RunCommand(words);
    for (const std::string& line : result.lines) std::cout << line << '\n';
    return result.failed ? kFailed : 0;
  } catch (const BadArgument& error) {
    std::cerr << "qzlb27-tool: " << error.what() << " (see qzlb27-tool --help)\n";
    return kBadArguments;
  } catch (const std::exception& error) {
    std::cerr << "qzlb27-tool: " << error.what() << "\n";
    return kFailed;
  }
}
