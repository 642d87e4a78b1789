# The example configuration, with control characters in the name of the field Schadenart: ESC and
# BEL, U+0085 as UTF-8 (C2 85), a lone byte 0x9B, which is no UTF-8 but a control character on a
# terminal of 8-bit controls, and the overlong form E0 80 9B of it; beside them a Euro sign
# (E2 82 AC), whose byte 0x82 is part of valid UTF-8 and stays as it is.
file(GLOB konfiguration ${QUELLEN}/examples/*.ini)
file(COPY ${konfiguration} ${QUELLEN}/examples/schadenarten.txt DESTINATION ${ARBEIT})
string(ASCII 27 esc)
string(ASCII 7 bel)
string(ASCII 155 csi)
string(ASCII 194 133 nel)
string(ASCII 226 130 172 euro)
string(ASCII 224 128 155 ueberlang)
file(READ ${ARBEIT}/datensaetze.ini inhalt)
string(REPLACE "Schadenart " "Schaden${esc}[7m${bel}art${nel}${csi}2J${euro}${ueberlang} "
       inhalt "${inhalt}")
file(WRITE ${ARBEIT}/datensaetze.ini "${inhalt}")
