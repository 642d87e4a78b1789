# A main INI file that names a record-definition file with ESC, BEL and CR in its name (the CR ends the line), which
# does not exist: the load error names it.
string(ASCII 27 esc)
string(ASCII 7 bel)
string(ASCII 13 cr)
file(WRITE ${ARBEIT}/plausi.ini
     "[PLAUSIPRUEFUNG]\nSTRUKTUR=struktur.ini\nDATENSAETZE=d${esc}[2J${bel}x${cr}y.ini\n")
file(COPY ${QUELLEN}/examples/struktur.ini DESTINATION ${ARBEIT})
