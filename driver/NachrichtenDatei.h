#pragma once
#include <cstddef>
#include <cstdint>
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
  // `lesen` reads a file whole; `saetze` reads only what the check asks for through sichere()
  // (the header, the trailer and the records the frame walk reaches, never the attachment bytes
  // behind them), into memory reserved for the whole file whose untouched part costs nothing.
  enum class Zugriff { abbilden, lesen, saetze };

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

  // All bytes of the file; with Zugriff::saetze only those before sichere()'s answer, and the
  // last 256, hold the file's bytes, the others zeros.
  [[nodiscard]] std::span<const unsigned char> bytes() const { return {anfang, laenge}; }

  // Makes at least the bytes before `bis` hold the file's (read in steps of a mebibyte, never
  // beyond the end) and returns up to where they do: the file's length unless it is read as the
  // check asks. Throws Vesk_Exception "Fehler beim Auslesen von <name>" when they cannot be read.
  std::size_t sichere(std::size_t bis);

  // Throws Vesk_Exception "Fehler beim Auslesen von <name>" when the bytes could not all be read
  // while they were used (a mapped file cut short): what was found in them counts for nothing.
  // Asked once the check and everything that reads the bytes after it are done.
  void pruefeUnversehrt() const;

 private:
#ifndef _WIN32
  void lese(int datei, const std::string& name);
#endif
  // Reads the open file `datei` (a descriptor, or a HANDLE) as the check asks, taking it over;
  // false, with the file still the caller's, when no memory can be reserved for it.
  bool liesInTeilen(std::intptr_t datei, const std::string& name);
  // Reserves memory for the whole file; false when there is none. Then reads its first
  // mebibyte and its trailer.
  bool reserviere();
  // Reads the file's bytes [von, bis) into the reserved memory.
  void leseBereich(std::size_t von, std::size_t bis);
  void gibFrei() noexcept;

  std::string dateiName;  // for the reports of a file read later on; empty for one read whole
  const unsigned char* anfang = nullptr;
  std::size_t laenge = 0;
  void* abbildung = nullptr;  // the mapping, or nullptr when the file was read
  int platz = -1;             // the mapping's entry among those the SIGBUS handler knows
  std::unique_ptr<unsigned char[]> puffer;  // the bytes read, when not mapped
  void* bereich = nullptr;    // memory reserved for the whole file, read as the check asks
  std::size_t gesichert = 0;  // bytes from the start that hold the file's
  // The file, kept open while it is read as the check asks: a descriptor, or a HANDLE.
  std::intptr_t quelle = -1;
};
