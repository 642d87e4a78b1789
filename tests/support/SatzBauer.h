#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vesk::test {

// Builds one 256-byte record, blank-filled, by writing texts at 1-based positions.
class SatzBauer {
 public:
  explicit SatzBauer(std::string_view satzart = "");
  // Writes `text` from the 1-based `position` on; text beyond byte 256 is cut off.
  SatzBauer& setze(std::size_t position, std::string_view text);
  [[nodiscard]] const std::string& bytes() const { return satz; }

 private:
  std::string satz;
};

// Builds a whole message: records, then attachment bytes, then the trailer.
class NachrichtenBauer {
 public:
  NachrichtenBauer& satz(const SatzBauer& satz);
  NachrichtenBauer& anhang(std::size_t laenge, char fuellung = 'A');
  [[nodiscard]] const std::string& bytes() const { return nachricht; }
  [[nodiscard]] std::vector<unsigned char> alsBytes() const;

 private:
  std::string nachricht;
};

}  // namespace vesk::test
