# A message and a protocol whose names hold characters outside ASCII (Windows hands them over in
# UTF-16, POSIX as bytes; "Ł" is in no Western ANSI code page): the checker reads and writes the files of exactly these names.
file(GLOB konfiguration ${QUELLEN}/examples/*.ini)
file(COPY ${konfiguration} ${QUELLEN}/examples/schadenarten.txt DESTINATION ${ARBEIT})
file(COPY_FILE ${QUELLEN}/examples/nachrichten/schadenmeldung_feldfehler.dat
     "${ARBEIT}/Schadenmeldung_Müller_€_Łódź.dat")
