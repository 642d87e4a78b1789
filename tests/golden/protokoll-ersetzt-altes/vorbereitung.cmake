# The example configuration names its files relative to the current folder: copy it here,
# together with the example message.
file(GLOB konfiguration ${QUELLEN}/examples/*.ini)
file(COPY ${konfiguration} ${QUELLEN}/examples/schadenarten.txt
     ${QUELLEN}/examples/nachrichten/schadenmeldung_wertemenge.dat DESTINATION ${ARBEIT})
