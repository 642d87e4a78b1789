#pragma once
#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>

class IniFile;

namespace vesk {

// Where the groups and variables of an INI-syntax file stand: the line (from 1) of each group's
// first header and of each variable's assignment, the last one where a variable is assigned
// twice, since that is the value the store keeps.
class Zeilenverzeichnis {
 public:
  explicit Zeilenverzeichnis(const IniFile& ini);

  // The line of the group's first header; 1 when the file has no such group.
  [[nodiscard]] std::size_t gruppe(std::string_view name) const;
  // The line of the variable's assignment in the group; the group's line when there is none.
  [[nodiscard]] std::size_t variable(std::string_view gruppenName, std::string_view name) const;

 private:
  std::map<std::string, std::size_t, std::less<>> gruppen;
  std::map<std::pair<std::string, std::string>, std::size_t, std::less<>> variablen;
};

}  // namespace vesk
