# The example configuration, and the clean example message under a name with the byte 0x9B,
# which is no UTF-8 and starts a control sequence on many terminals.
file(GLOB konfiguration ${QUELLEN}/examples/*.ini)
file(COPY ${konfiguration} ${QUELLEN}/examples/schadenarten.txt DESTINATION ${ARBEIT})
string(ASCII 155 c1)
file(MAKE_DIRECTORY ${ARBEIT}/eingang)
file(COPY_FILE ${QUELLEN}/examples/nachrichten/schadenmeldung_ok.dat "${ARBEIT}/eingang/csi${c1}31m.dat")
file(COPY_FILE ${QUELLEN}/examples/nachrichten/schadenmeldung_feldfehler.dat "${ARBEIT}/eingang/feld${c1}.dat")
