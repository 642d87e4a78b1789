#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vesk {

// Characters taken from message bytes, as a view into the message. A byte 0x00-0x7F is that
// ASCII character; a byte 0x80-0xFF is a character that no definition or value-set file can
// hold, so it equals no file character. Comparing with file text goes through `gleicht` only.
class MeldungsText {
 public:
  constexpr MeldungsText() noexcept = default;
  constexpr explicit MeldungsText(std::string_view bytes) noexcept : inhalt(bytes) {}

  // The raw message bytes; never compare them with file text directly.
  [[nodiscard]] constexpr std::string_view roh() const noexcept { return inhalt; }
  [[nodiscard]] constexpr bool empty() const noexcept { return inhalt.empty(); }
  [[nodiscard]] constexpr std::size_t size() const noexcept { return inhalt.size(); }

  // True when every character equals the one of `dateiText`; bytes 0x80 and above never do.
  [[nodiscard]] bool gleicht(std::string_view dateiText) const noexcept;
  // True when no byte is 0x80 or above, so the text can be looked up among file texts.
  [[nodiscard]] bool istAscii() const noexcept;
  // Without leading and trailing characters up to 0x20.
  [[nodiscard]] MeldungsText getrimmt() const noexcept;
  // An optional minus sign and decimal digits within 32 signed bits; nullopt otherwise.
  [[nodiscard]] std::optional<std::int32_t> alsGanzzahl() const noexcept;
  // For texts and reports: ASCII unchanged, 0x80-0xFF as the Latin-1 character in UTF-8.
  [[nodiscard]] std::string alsUtf8() const;

 private:
  std::string_view inhalt;
};

}  // namespace vesk
