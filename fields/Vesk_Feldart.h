#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "fields/MeldungsText.h"

class Vesk_WerteMenge;

// A field kind: judges the bytes of one data field (well formed for the kind, only the initial
// value, in the field's value set) and extracts the field's value. One immutable instance per
// kind serves every field of that kind, from any number of threads at once; what a check collects
// is returned with its status as a view into the checked bytes, so the check never allocates and
// never copies record bytes.
class Vesk_Feldart {
 public:
  static constexpr int UNDEFINIERT = 0;
  static constexpr int UNGUELTIG = 1;
  static constexpr int GUELTIG = 2;
  static constexpr int INITIALWERT = 3;
  static constexpr int NICHT_IM_WERTEBEREICH = 4;
  static constexpr int INITIALWERT_NICHT_IM_WERTEBEREICH = 5;

  // The outcome of one check: the status and the characters collected, untrimmed, as a view
  // into the checked bytes.
  struct Befund {
    int status = UNDEFINIERT;
    vesk::MeldungsText daten;
  };

  virtual ~Vesk_Feldart() = default;
  Vesk_Feldart(const Vesk_Feldart&) = delete;
  Vesk_Feldart& operator=(const Vesk_Feldart&) = delete;

  // The status (UNGUELTIG to INITIALWERT_NICHT_IM_WERTEBEREICH) of the `anzahlBytes` bytes from
  // `start` on, tested against `werteMenge` unless it is nullptr. A field reaching beyond `bytes`
  // is UNGUELTIG.
  [[nodiscard]] int pruefe(std::span<const unsigned char> bytes, std::size_t start,
                           std::int32_t anzahlBytes, const Vesk_WerteMenge* werteMenge) const {
    return untersuche(bytes, start, anzahlBytes, werteMenge).status;
  }
  // Like pruefe, with the characters the check collected.
  [[nodiscard]] virtual Befund untersuche(std::span<const unsigned char> bytes, std::size_t start,
                                          std::int32_t anzahlBytes,
                                          const Vesk_WerteMenge* werteMenge) const = 0;
  // Refines the running status once all bytes were accepted, from the collected `daten`; the
  // date and time kinds check the calendar and the clock here.
  [[nodiscard]] virtual int pruefeGesamt(int status, vesk::MeldungsText daten) const {
    static_cast<void>(daten);
    return status;
  }
  // The field's value: the collected characters, trimmed. The view points into `bytes` and is
  // valid as long as they are.
  [[nodiscard]] vesk::MeldungsText gibWert(std::span<const unsigned char> bytes, std::size_t start,
                                           std::int32_t anzahlBytes) const;

 protected:
  Vesk_Feldart() = default;

  // The scan shared by the date and the time kind: all blanks (the initial value, nothing
  // collected) or all digits (every digit collected); anything else makes the field invalid,
  // keeping the digits before it. Then the whole-value check and the value set.
  [[nodiscard]] Befund pruefeZiffern(std::span<const unsigned char> bytes, std::size_t start,
                                     std::int32_t anzahlBytes,
                                     const Vesk_WerteMenge* werteMenge) const;
  // Whether `feld` holds blanks only; compared in blocks, since reserve fields of a hundred
  // blanks and more are common.
  [[nodiscard]] static bool nurLeerzeichen(std::string_view feld) noexcept;
  [[nodiscard]] static constexpr bool istZiffer(char zeichen) noexcept {
    return zeichen >= '0' && zeichen <= '9';
  }

  // Whether the field lies within `bytes`; the view of its bytes when it does.
  [[nodiscard]] static std::optional<std::string_view> feldBytes(
      std::span<const unsigned char> bytes, std::size_t start, std::int32_t anzahlBytes) noexcept {
    const std::size_t anzahl = anzahlBytes > 0 ? static_cast<std::size_t>(anzahlBytes) : 0;
    if (start > bytes.size() || anzahl > bytes.size() - start) {
      return std::nullopt;
    }
    return std::string_view(reinterpret_cast<const char*>(bytes.data()) + start, anzahl);
  }
  // The whole-value check and the value-set test after a scan that did not reject the field.
  [[nodiscard]] Befund schliesseAb(int status, vesk::MeldungsText daten,
                                   const Vesk_WerteMenge* werteMenge) const;
};
