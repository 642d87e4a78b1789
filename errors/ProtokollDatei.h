#pragma once
#include <cstddef>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <sys/types.h>

// The protocol file of a run. Other programs read it line by line, and a user may name the
// wrong file, so an existing regular file is replaced only when it is empty or holds protocol
// lines, and then as a whole: the new text goes to a temporary file in the same folder, which is
// renamed over the old one once it is complete. A run killed meanwhile leaves the old file. A
// device or a pipe is written directly and never read.
class ProtokollDatei {
 public:
  // Writes up to `laenge` bytes to `fd` as ::write does: the count written, or -1 with errno.
  using Schreiber = std::function<ssize_t(int fd, const char* daten, std::size_t laenge)>;

  explicit ProtokollDatei(std::string name);
  // Writes through `schreiber`, so that a test can make a write fail part-way.
  ProtokollDatei(std::string name, Schreiber schreiber);

  // Makes `inhalt` the content of the file. Throws Vesk_Exception "Protokolldatei <name> ist
  // keine Protokolldatei und wird nicht ueberschrieben" when an existing file holds anything
  // else, and "Konnte Protokolldatei <name> nicht oeffnen" for any failure to inspect, write or
  // rename; in both cases the existing file is as it was and no temporary file remains.
  void schreibe(std::string_view inhalt) const;

  // Whether `eingabe` holds nothing but protocol lines (or nothing at all): each line starts
  // with one of the four 9-character tags and a comma and ends in CR LF. Reads in blocks, so a
  // huge file costs no more memory than a small one.
  [[nodiscard]] static bool istProtokoll(std::istream& eingabe);

 private:
  [[noreturn]] void scheitere() const;
  // Throws unless the regular file `ziel` may be replaced.
  void pruefeAltenInhalt(const std::filesystem::path& ziel) const;
  void schreibeDirekt(const std::filesystem::path& pfad, std::string_view inhalt) const;
  void ersetze(const std::filesystem::path& ziel, bool vorhanden, std::string_view inhalt) const;
  // Whether all of `inhalt` reached `fd`.
  [[nodiscard]] bool schreibeAlles(int fd, std::string_view inhalt) const;

  std::string name;  // as the user gave it, for the reports
  Schreiber schreiber;
};
