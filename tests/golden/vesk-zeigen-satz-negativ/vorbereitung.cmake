# The configuration and the message of the case of a record that does not exist.
include(${QUELLEN}/tests/golden/vesk-zeigen-satz-fehlt/vorbereitung.cmake)
