#include "dienst/Grenzen.h"

#include <array>
#include <charconv>
#include <limits>
#include <system_error>
#include <utility>

namespace vesk::dienst {

namespace {

// The number at the start of `text` and the rest behind it; absent when no digit starts it or
// the number does not fit 64 bits.
std::optional<std::pair<std::uint64_t, std::string_view>> leseZahl(std::string_view text) {
  std::uint64_t wert = 0;
  const char* ende = text.data() + text.size();
  const auto [rest, fehler] = std::from_chars(text.data(), ende, wert);
  if (fehler != std::errc{}) {
    return std::nullopt;
  }
  return std::pair{wert, std::string_view(rest, static_cast<std::size_t>(ende - rest))};
}

struct Einheit {
  std::string_view name;
  std::uint64_t faktor;
};

constexpr std::array<Einheit, 4> GROESSEN{
    {{"GiB", std::uint64_t{1} << 30}, {"MiB", std::uint64_t{1} << 20}, {"KiB", 1024}, {"", 1}}};

}  // namespace

std::optional<std::uint64_t> leseGroesse(std::string_view text) {
  const auto zahl = leseZahl(text);
  if (!zahl) {
    return std::nullopt;
  }
  const auto [wert, rest] = *zahl;
  for (const Einheit& einheit : GROESSEN) {
    if (rest == einheit.name) {
      if (wert > std::numeric_limits<std::uint64_t>::max() / einheit.faktor) {
        return std::nullopt;
      }
      return wert * einheit.faktor;
    }
  }
  return std::nullopt;
}

std::optional<std::chrono::milliseconds> leseDauer(std::string_view text) {
  constexpr std::uint64_t TAG = 24ULL * 60 * 60 * 1000;
  const auto zahl = leseZahl(text);
  if (!zahl) {
    return std::nullopt;
  }
  const auto [wert, rest] = *zahl;
  std::uint64_t ms = 0;
  if (rest == "ms") {
    ms = wert;
  } else if (rest == "s" && wert <= TAG / 1000) {
    ms = wert * 1000;
  } else {
    return std::nullopt;
  }
  if (ms == 0 || ms > TAG) {
    return std::nullopt;
  }
  return std::chrono::milliseconds(static_cast<std::chrono::milliseconds::rep>(ms));
}

std::string alsGroesse(std::uint64_t bytes) {
  for (const Einheit& einheit : GROESSEN) {
    if (bytes != 0 && bytes % einheit.faktor == 0) {
      return std::to_string(bytes / einheit.faktor) + std::string(einheit.name);
    }
  }
  return std::to_string(bytes);
}

std::string alsDauer(std::chrono::milliseconds dauer) {
  const auto ms = dauer.count();
  return ms % 1000 == 0 ? std::to_string(ms / 1000) + "s" : std::to_string(ms) + "ms";
}

}  // namespace vesk::dienst
