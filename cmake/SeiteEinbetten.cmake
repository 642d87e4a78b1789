# Writes the C++ source that builds the web page of vesk dienst into the executable: the files of
# dienst/seite/ as string literals behind vesk::dienst::seitenDateien() (dienst/Seite.h).
#
#   cmake -DQUELLE=<folder with index.html, seite.css, seite.js> -DZIEL=<file.cpp> -P SeiteEinbetten.cmake
#
# Every byte is written as \xHH, so that no content (quotes, backslashes, a ")" followed by any
# delimiter, line ends, bytes outside ASCII, NUL) can change the literal, and the literal does not
# depend on the compiler's source encoding. The length is taken from the array, not from a NUL.

cmake_minimum_required(VERSION 3.25)

if(NOT DEFINED QUELLE OR NOT DEFINED ZIEL)
  message(FATAL_ERROR "SeiteEinbetten.cmake: QUELLE and ZIEL must be given")
endif()

# path served | file in QUELLE | media type (all UTF-8) | name of the array
set(seitenDateien
    "/|index.html|text/html|INDEX_HTML"
    "/seite.css|seite.css|text/css|SEITE_CSS"
    "/seite.js|seite.js|text/javascript|SEITE_JS")

string(REPEAT "\\\\x.." 32 zeilenMuster)  # 32 bytes to a line
set(felder "")
set(eintraege "")
foreach(eintrag IN LISTS seitenDateien)
  string(REPLACE "|" ";" teile "${eintrag}")
  list(GET teile 0 pfad)
  list(GET teile 1 datei)
  list(GET teile 2 typ)
  list(GET teile 3 name)
  if(NOT EXISTS "${QUELLE}/${datei}")
    message(FATAL_ERROR "SeiteEinbetten.cmake: ${QUELLE}/${datei} is missing")
  endif()
  file(READ "${QUELLE}/${datei}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" hex "${hex}")
  string(REGEX REPLACE "(${zeilenMuster})" "\\1\"\n    \"" hex "${hex}")
  string(APPEND felder "// ${datei}\nconstexpr char ${name}[] =\n    \"${hex}\";\n\n")
  string(APPEND eintraege
         "    SeitenDatei{\"${pfad}\", \"${typ}; charset=utf-8\",\n                std::string_view(${name}, sizeof(${name}) - 1)},\n")
endforeach()

list(LENGTH seitenDateien anzahl)
# Written on every run, so that the file is newer than the sources it was made from.
string(CONFIGURE
"// Generated from dienst/seite/ by cmake/SeiteEinbetten.cmake at build time; do not edit.
#include <array>

#include \"dienst/Seite.h\"

namespace vesk::dienst {

namespace {

@felder@constexpr std::array<SeitenDatei, @anzahl@> DATEIEN = {
@eintraege@};

}  // namespace

std::span<const SeitenDatei> seitenDateien() { return DATEIEN; }

}  // namespace vesk::dienst
" quelltext @ONLY)
file(WRITE "${ZIEL}" "${quelltext}")
