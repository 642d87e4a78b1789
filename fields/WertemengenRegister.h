#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

class Vesk_WerteMenge;

namespace vesk {

// The named value sets of one record-definition file (its group "Wertemengen"), by name.
// Owns them; immutable once built, so any number of threads may look them up at once.
class WertemengenRegister {
 public:
  using Mengen = std::map<std::string, std::unique_ptr<Vesk_WerteMenge>, std::less<>>;

  WertemengenRegister();
  explicit WertemengenRegister(Mengen mengen);
  ~WertemengenRegister();
  WertemengenRegister(WertemengenRegister&&) noexcept;
  WertemengenRegister& operator=(WertemengenRegister&&) noexcept;

  // The set named `name`, or nullptr.
  [[nodiscard]] const Vesk_WerteMenge* gib(std::string_view name) const;
  [[nodiscard]] const Mengen& alle() const { return werteMengen; }

 private:
  Mengen werteMengen;
};

}  // namespace vesk
