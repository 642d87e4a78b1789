# The example configuration with the byte 0x9B in the name of field 10 of record type 4100.1.
file(GLOB konfiguration ${QUELLEN}/examples/*.ini)
file(COPY ${konfiguration} ${QUELLEN}/examples/schadenarten.txt DESTINATION ${ARBEIT})
file(COPY ${QUELLEN}/examples/nachrichten/schadenmeldung_feldfehler.dat DESTINATION ${ARBEIT})
string(ASCII 155 c1)
file(READ ${ARBEIT}/datensaetze.ini text)
string(REPLACE "Schadenort                =" "Schaden${c1}ort               =" text "${text}")
file(WRITE ${ARBEIT}/datensaetze.ini "${text}")
