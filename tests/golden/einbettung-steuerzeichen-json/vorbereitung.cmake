# The messages and the configuration of einbettung-steuerzeichen, shown as JSON.
set(steuerzeichen ${QUELLEN}/tests/golden/einbettung-steuerzeichen)
foreach(nachricht wert unbekannt sendeart)
  execute_process(COMMAND ${EMULATOR} ${BAUEN} ${steuerzeichen}/${nachricht}.meldung
                          ${ARBEIT}/${nachricht}.dat COMMAND_ERROR_IS_FATAL ANY)
endforeach()
include(${steuerzeichen}/vorbereitung.cmake)
