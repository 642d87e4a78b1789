# The example configuration with one slip of each kind the checker misplaces or passes over,
# each in place of a line so that the other lines keep their numbers.
file(GLOB konfiguration ${QUELLEN}/examples/*.ini)
file(COPY ${konfiguration} ${QUELLEN}/examples/schadenarten.txt DESTINATION ${ARBEIT})

function(ersetze datei alt neu)
  file(READ ${ARBEIT}/${datei} text)
  string(FIND "${text}" "${alt}" stelle)
  if(stelle LESS 0)
    message(FATAL_ERROR "${datei}: '${alt}' not found")
  endif()
  string(REPLACE "${alt}" "${neu}" text "${text}")
  file(WRITE ${ARBEIT}/${datei} "${text}")
endfunction()

# A field of no bytes (line 24), the next one widened to cover its bytes.
ersetze(datensaetze.ini "Versionsnummer   = m , n , 46, 3" "Versionsnummer   = m , n , 46, 0")
ersetze(datensaetze.ini "Amtl_Kennzeichen =   , an, 49, 12" "Amtl_Kennzeichen =   , an, 46, 15")
# A field name written twice (lines 65 and 66): the first definition is dropped.
ersetze(datensaetze.ini "Reserve           =   , an, 47, 210" "Kilometerstand    =   , an, 47, 210")
# A negative length (line 73).
ersetze(datensaetze.ini "Freigabedatum  =   , d8, 45, 8" "Freigabedatum  =   , d8, 45, -1")
# An address beyond the record (line 80).
ersetze(datensaetze.ini "Fehlertext = m , an, 8, 80" "Fehlertext = m , an, 1000000, 80")
# The Sendeart of Reparaturfreigabe (line 8) given to Fehlermeldung as well (line 10).
ersetze(struktur.ini "Fehlermeldung     = 04" "Fehlermeldung     = 02")
