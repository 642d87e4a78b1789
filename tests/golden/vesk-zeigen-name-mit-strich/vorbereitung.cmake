# The example configuration, and the message with an error in a field under a name that starts
# with "-", which only "--" keeps from being taken for an option.
include(${QUELLEN}/tests/golden/vesk-zeigen-satz-fehlt/vorbereitung.cmake)
file(RENAME ${ARBEIT}/schadenmeldung_feldfehler.dat ${ARBEIT}/-x.dat)
