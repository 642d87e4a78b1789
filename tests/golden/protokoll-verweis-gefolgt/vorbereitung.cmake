# The example configuration names its files relative to the current folder: copy it here,
# together with the example message. The protocol file is a relative link to the previous
# protocol in archiv/, which is to be replaced while the link stays.
file(GLOB konfiguration ${QUELLEN}/examples/*.ini)
file(COPY ${konfiguration} ${QUELLEN}/examples/schadenarten.txt
     ${QUELLEN}/examples/nachrichten/schadenmeldung_wertemenge.dat DESTINATION ${ARBEIT})
file(CREATE_LINK archiv/letztes.csv ${ARBEIT}/protokoll.csv SYMBOLIC)
