# The example configuration names its files relative to the current folder: copy it here,
# with every example message into the folder "eingang".
file(GLOB konfiguration ${QUELLEN}/examples/*.ini)
file(GLOB nachrichten ${QUELLEN}/examples/nachrichten/*.dat)
file(COPY ${konfiguration} ${QUELLEN}/examples/schadenarten.txt DESTINATION ${ARBEIT})
file(COPY ${nachrichten} DESTINATION ${ARBEIT}/eingang)
