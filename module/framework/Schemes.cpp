#include "framework/Schemes.h"

#include "framework/ServerAccess.h"

std::string SchemeRenameProblem(std::string_view New, const std::vector<std::string>& Others) {
  if (detail::TrimText(New).empty()) return "sProjNameEmpty";
  if (New.size() > SchemeNameLimit) return "sProjNameError";
  for (const std::string& other : Others) {
    if (other == New) return "sProjNameExist";
  }
  return std::string();
}
