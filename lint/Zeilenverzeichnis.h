#pragma once
#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class IniFile;

namespace vesk {

// Where the groups and variables of an INI-syntax file stand: the line (from 1) of each group's
// first header and of each variable's assignment, the last one where a variable is assigned
// twice, since that is the value the store keeps.
class Zeilenverzeichnis {
 public:
  // One assignment of a variable: its line and its value, trimmed, as the store would keep it.
  struct Zuweisung {
    std::size_t zeile = 1;
    std::string wert;
  };
  // The variables of a group assigned more than once, by name: every assignment in the order of
  // the file, the last the one the store keeps.
  using Mehrfache = std::map<std::string, std::vector<Zuweisung>, std::less<>>;

  explicit Zeilenverzeichnis(const IniFile& ini);

  // The line of the group's first header; 1 when the file has no such group.
  [[nodiscard]] std::size_t gruppe(std::string_view name) const;
  // The line of the variable's assignment in the group; the group's line when there is none.
  [[nodiscard]] std::size_t variable(std::string_view gruppenName, std::string_view name) const;
  // The variables of the group assigned more than once; empty when there are none.
  [[nodiscard]] const Mehrfache& mehrfache(std::string_view gruppenName) const;

 private:
  std::map<std::string, std::size_t, std::less<>> gruppen;
  std::map<std::pair<std::string, std::string>, std::size_t, std::less<>> variablen;
  std::map<std::string, Mehrfache, std::less<>> mehrfach;  // by group
};

}  // namespace vesk
