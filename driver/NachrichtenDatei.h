#pragma once
#include <cstddef>
#include <memory>
#include <span>
#include <string>

// The bytes of one message file. A file of 64 KiB and more is mapped into memory where the system
// allows it, so that pages are read only when the checker touches them: attachment bytes, which
// the checker never looks at, then cost nothing. A smaller file, or one that cannot be mapped, is
// read whole. Move-only; the bytes live as long as the object.
class NachrichtenDatei {
 public:
  // How the bytes get into memory. A mapped file that fails to read while the checker touches
  // it raises SIGBUS; mapping therefore sets a process-wide handler that ends the process with
  // the checker's report. Only a program of the checker's own may do that: inside another
  // program (the C library), files are read.
  enum class Zugriff { abbilden, lesen };

  // Throws Vesk_Exception "Nachrichtendatei <name> nicht gefunden" for a missing or empty file
  // or one that is no regular file, and "Fehler beim Auslesen von <name>" when it cannot be read.
  explicit NachrichtenDatei(const std::string& name, Zugriff zugriff = Zugriff::abbilden);
  ~NachrichtenDatei();
  NachrichtenDatei(NachrichtenDatei&& andere) noexcept;
  NachrichtenDatei& operator=(NachrichtenDatei&&) = delete;
  NachrichtenDatei(const NachrichtenDatei&) = delete;
  NachrichtenDatei& operator=(const NachrichtenDatei&) = delete;

  [[nodiscard]] std::span<const unsigned char> bytes() const { return {anfang, laenge}; }

 private:
#ifndef _WIN32
  void lese(int datei, const std::string& name);
#endif

  const unsigned char* anfang = nullptr;
  std::size_t laenge = 0;
  void* abbildung = nullptr;                // the mapping, or nullptr when the file was read
  std::unique_ptr<unsigned char[]> puffer;  // the bytes read, when not mapped
};
