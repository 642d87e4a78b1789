# A folder and messages whose names hold characters outside ASCII: found, read and named in the
# report as they are called.
file(GLOB konfiguration ${QUELLEN}/examples/*.ini)
file(COPY ${konfiguration} ${QUELLEN}/examples/schadenarten.txt DESTINATION ${ARBEIT})
file(MAKE_DIRECTORY "${ARBEIT}/Eingang_äöü")
file(COPY_FILE ${QUELLEN}/examples/nachrichten/schadenmeldung_ok.dat
     "${ARBEIT}/Eingang_äöü/Müller.dat")
file(COPY_FILE ${QUELLEN}/examples/nachrichten/schadenmeldung_musskann.dat
     "${ARBEIT}/Eingang_äöü/Straße_Łódź.dat")
