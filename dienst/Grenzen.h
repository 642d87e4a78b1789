#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vesk::dienst {

// Every limit of the HTTP service in one value: what a request may bring and how long it may
// take. Checked where the bytes arrive, before anything is buffered beyond them.
struct Grenzen {
  std::uint64_t maxBytes = std::uint64_t{16} << 20;  // largest request body
  std::uint32_t maxKopf = 16U << 10;                 // largest header block
  std::chrono::milliseconds lesefrist{10'000};       // a whole request, from its first byte
  std::chrono::milliseconds leerlauf{30'000};        // an idle keep-alive connection
  std::chrono::milliseconds stopfrist{10'000};       // requests in flight at a stop
  std::size_t maxVerbindungen = 1024;
  std::size_t warteschlange = 64;  // requests that may wait for a worker
  // A body up to this size is checked by the I/O thread at once: its check takes a few
  // microseconds, less than handing it to a worker and back. Larger ones go to the workers.
  std::uint64_t sofortBis = 64 * 1024;
  unsigned threads = 1;  // workers that check
};

// A size as the options take it: a number of bytes, or one with the suffix KiB, MiB or GiB
// ("16MiB"); absent when it is none or does not fit 64 bits.
[[nodiscard]] std::optional<std::uint64_t> leseGroesse(std::string_view text);
// A duration as the options take it: a number with the suffix ms or s ("10s", "250ms"); absent
// when it is none, zero or longer than a day.
[[nodiscard]] std::optional<std::chrono::milliseconds> leseDauer(std::string_view text);
// `bytes` as leseGroesse reads it back, in the largest unit that divides it ("16MiB").
[[nodiscard]] std::string alsGroesse(std::uint64_t bytes);
// `dauer` as leseDauer reads it back ("10s", "250ms").
[[nodiscard]] std::string alsDauer(std::chrono::milliseconds dauer);

}  // namespace vesk::dienst
