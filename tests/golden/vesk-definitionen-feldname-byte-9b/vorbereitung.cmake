# The configuration of the zeigen case: the byte 0x9B in the name of a field of 4100.1.
include(${QUELLEN}/tests/golden/vesk-zeigen-feldname-byte-9b/vorbereitung.cmake)
