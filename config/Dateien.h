#pragma once
#include <string>

// File-system helpers shared by the loaders.
namespace vesk {

// Whether `name` names an existing file; a directory of that name counts as no file.
[[nodiscard]] bool istDatei(const std::string& name) noexcept;

}  // namespace vesk
