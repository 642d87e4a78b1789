#pragma once
#include <string>

// File-system helpers shared by the loaders.
namespace vesk {

// Whether `name` names an existing regular file (links followed). A directory of that name
// counts as no file, and so do devices and pipes, which could be read without end.
[[nodiscard]] bool istDatei(const std::string& name) noexcept;

}  // namespace vesk
