#pragma once
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

// File-system helpers shared by the loaders and the executables. A file name travels through the
// checker as the bytes the user gave: on POSIX the bytes of the name, on Windows its UTF-8 form
// (the command line arrives there as UTF-16 and is converted once at the start). These helpers
// turn such a name into a path and back, so that a name outside ASCII reaches the right file on
// both systems.
namespace vesk {

// The path of a file name as the user gave it.
[[nodiscard]] std::filesystem::path dateipfad(std::string_view name);

// The name of `pfad`, in the form dateipfad reads.
[[nodiscard]] std::string dateiname(const std::filesystem::path& pfad);

// Whether `name` names an existing regular file (links followed). A directory of that name
// counts as no file, and so do devices and pipes, which could be read without end.
[[nodiscard]] bool istDatei(const std::string& name) noexcept;

// Opens the file `name` for reading its bytes unchanged; null when it cannot be opened.
[[nodiscard]] std::FILE* oeffneZumLesen(const std::string& name);

}  // namespace vesk
