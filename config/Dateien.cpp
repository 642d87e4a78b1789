#include "config/Dateien.h"

#include <system_error>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vesk {

#ifdef _WIN32

// Converted by the system rather than by std::filesystem, whose conversion throws on bytes that
// are no UTF-8 (a name from a definition file may be Latin-1): such bytes become U+FFFD, and the
// file is then not found.
std::filesystem::path dateipfad(std::string_view name) {
  const int bytes = static_cast<int>(name.size());
  const int zeichen = ::MultiByteToWideChar(CP_UTF8, 0, name.data(), bytes, nullptr, 0);
  std::wstring breit(static_cast<std::size_t>(zeichen), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, name.data(), bytes, breit.data(), zeichen);
  return {std::move(breit)};
}

std::string dateiname(const std::filesystem::path& pfad) {
  const std::wstring& breit = pfad.native();
  const int zeichen = static_cast<int>(breit.size());
  const int bytes =
      ::WideCharToMultiByte(CP_UTF8, 0, breit.data(), zeichen, nullptr, 0, nullptr, nullptr);
  std::string name(static_cast<std::size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, breit.data(), zeichen, name.data(), bytes, nullptr, nullptr);
  return name;
}

std::FILE* oeffneZumLesen(const std::string& name) {
  return ::_wfopen(dateipfad(name).c_str(), L"rb");
}

#else

std::filesystem::path dateipfad(std::string_view name) {
  return {name};
}

std::string dateiname(const std::filesystem::path& pfad) {
  return pfad.string();
}

std::FILE* oeffneZumLesen(const std::string& name) {
  return std::fopen(name.c_str(), "rb");
}

#endif

bool istDatei(const std::string& name) noexcept {
  std::error_code fehler;
  const auto status = std::filesystem::status(dateipfad(name), fehler);
  return !fehler && std::filesystem::is_regular_file(status);
}

}  // namespace vesk
