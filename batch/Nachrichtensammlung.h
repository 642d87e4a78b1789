#pragma once
#include <span>
#include <string>
#include <vector>

namespace vesk {

// The messages that command-line arguments name, in their order: a folder stands for every
// regular file below it, sorted by path; anything else stands for itself (a name that does not
// exist is kept, so that its check reports it). A folder or subfolder that cannot be read is kept
// as an entry of its own, so that no unreadable part of an inbox passes unnoticed.
[[nodiscard]] std::vector<std::string> sammleNachrichten(std::span<const std::string> argumente);

}  // namespace vesk
