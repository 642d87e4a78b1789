# The folder of the text case: messages named with the byte 0x9B.
include(${QUELLEN}/tests/golden/vesk-pruefen-dateiname-byte-9b/vorbereitung.cmake)
