#pragma once
#include <span>
#include <string_view>

namespace vesk::dienst {

// One file of the web page, built into the executable: the path it is served under, its media
// type and its bytes.
struct SeitenDatei {
  std::string_view pfad;  // "/", "/seite.css", "/seite.js"
  std::string_view typ;   // "text/html; charset=utf-8", ...
  std::string_view inhalt;
};

// The page's files, generated at build time from the sources in dienst/seite/.
[[nodiscard]] std::span<const SeitenDatei> seitenDateien();

}  // namespace vesk::dienst
