#include "config/Dateien.h"

#include <filesystem>
#include <system_error>

namespace vesk {

bool istDatei(const std::string& name) noexcept {
  std::error_code fehler;
  const auto status = std::filesystem::status(name, fehler);
  return !fehler && std::filesystem::is_regular_file(status);
}

}  // namespace vesk
