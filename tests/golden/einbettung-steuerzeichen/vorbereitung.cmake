# The example configuration, with control characters in the name of the field Schadenart: ESC and
# BEL, U+0085 as UTF-8 (C2 85) and a lone byte 0x9B, which is no UTF-8 but a control character
# on a terminal of 8-bit controls.
file(GLOB konfiguration ${QUELLEN}/examples/*.ini)
file(COPY ${konfiguration} ${QUELLEN}/examples/schadenarten.txt DESTINATION ${ARBEIT})
string(ASCII 27 esc)
string(ASCII 7 bel)
string(ASCII 155 csi)
string(ASCII 194 133 nel)
file(READ ${ARBEIT}/datensaetze.ini inhalt)
string(REPLACE "Schadenart " "Schaden${esc}[7m${bel}art${nel}${csi}2J " inhalt "${inhalt}")
file(WRITE ${ARBEIT}/datensaetze.ini "${inhalt}")
