#pragma once
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

// One message a command-line argument stands for, or a folder below it that could not be read.
struct GesammelteNachricht {
  std::string pfad;  // as the check opens it: the argument, or a path below it
  // Where in `pfad` the path below the folder argument it was found in begins (the file name
  // alone for an argument that is no folder); kept as a place, so that a walk of a large inbox
  // makes no second string per message.
  std::size_t relativAb = 0;
  // For a folder that could not be read (or read to its end): the text of its abbruch result,
  // which names the folder and the reason.
  std::optional<std::string> fehler;

  // The path below the folder argument, with the system's separators.
  [[nodiscard]] std::string_view relativ() const {
    return std::string_view(pfad).substr(relativAb);
  }
};

// The messages that command-line arguments name, in their order: a folder stands for every
// regular file below it, sorted by path (links to files are followed, links to folders are not,
// so that no loop can arise); anything else stands for itself (a name that does not exist is
// kept, so that its check reports it). A folder or subfolder that cannot be read is an entry of
// its own at its place in that order, and the walk goes on past it, so that no readable part of
// an inbox is left out and no unreadable one passes unnoticed.
[[nodiscard]] std::vector<GesammelteNachricht> sammleNachrichten(
    std::span<const std::string> argumente);

}  // namespace vesk
