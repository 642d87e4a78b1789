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
  // it (a disk error, or another process cutting it short) raises SIGBUS; mapping therefore sets
  // a process-wide handler, which puts zero bytes in place of the mapping and notes the failure,
  // so that the check goes on to its end and unversehrt() then tells. Only a program of the
  // checker's own may set that handler: inside another program (the C library), files are read.
  enum class Zugriff { abbilden, lesen };

  // Called with the file's name right after a file was mapped; for tests that cut a file short
  // at that moment. nullptr: none.
  using Haken = void (*)(const std::string& name);
  static void setzeTesthaken(Haken haken);

  // Throws Vesk_Exception "Nachrichtendatei <name> nicht gefunden" for a missing or empty file
  // or one that is no regular file, and "Fehler beim Auslesen von <name>" when it cannot be read.
  explicit NachrichtenDatei(const std::string& name, Zugriff zugriff = Zugriff::abbilden);
  ~NachrichtenDatei();
  NachrichtenDatei(NachrichtenDatei&& andere) noexcept;
  NachrichtenDatei& operator=(NachrichtenDatei&&) = delete;
  NachrichtenDatei(const NachrichtenDatei&) = delete;
  NachrichtenDatei& operator=(const NachrichtenDatei&) = delete;

  [[nodiscard]] std::span<const unsigned char> bytes() const { return {anfang, laenge}; }

  // Throws Vesk_Exception "Fehler beim Auslesen von <name>" when the bytes could not all be read
  // while they were used (a mapped file cut short): what was found in them counts for nothing.
  // Asked once the check and everything that reads the bytes after it are done.
  void pruefeUnversehrt() const;

 private:
#ifndef _WIN32
  void lese(int datei);
#endif

  std::string name;
  const unsigned char* anfang = nullptr;
  std::size_t laenge = 0;
  void* abbildung = nullptr;  // the mapping, or nullptr when the file was read
  int platz = -1;             // the mapping's entry among those the SIGBUS handler knows
  std::unique_ptr<unsigned char[]> puffer;  // the bytes read, when not mapped
};
