# Runs the embedding example (BEISPIEL) on every bundled example message, on a missing and on an
# empty one, each given by name and through standard input, and requires the checker's exit
# status (PRUEFER) for each, and for all of them the JSON lines of `vesk pruefen --json` (VESK).
# Used by ctest with the example built in the tree and by CI with it built against an install.
# EMULATOR, when set, runs the programs of a cross-build.
cmake_policy(VERSION 3.25)
set(beispiele ${QUELLEN}/examples)
file(GLOB nachrichten RELATIVE ${beispiele} ${beispiele}/nachrichten/*.dat)
list(SORT nachrichten)
set(leer ${ARBEIT}/leer.dat)
file(MAKE_DIRECTORY ${ARBEIT})
file(WRITE ${leer} "")
list(APPEND nachrichten fehlt.dat ${leer})

set(abweichungen 0)
foreach(nachricht IN LISTS nachrichten)
  execute_process(COMMAND ${EMULATOR} ${PRUEFER} plausi.ini ${nachricht} WORKING_DIRECTORY ${beispiele}
                  RESULT_VARIABLE erwartet OUTPUT_QUIET ERROR_QUIET)
  execute_process(COMMAND ${EMULATOR} ${BEISPIEL} plausi.ini ${nachricht} WORKING_DIRECTORY ${beispiele}
                  RESULT_VARIABLE datei OUTPUT_QUIET)
  set(eingabe ${nachricht})
  if(NOT IS_ABSOLUTE ${eingabe})
    set(eingabe ${beispiele}/${nachricht})
  endif()
  set(ueberEingabe 2)
  if(EXISTS ${eingabe})
    execute_process(COMMAND ${EMULATOR} ${BEISPIEL} plausi.ini - WORKING_DIRECTORY ${beispiele}
                    INPUT_FILE ${eingabe} RESULT_VARIABLE ueberEingabe OUTPUT_QUIET)
  endif()
  if(NOT datei STREQUAL erwartet OR NOT ueberEingabe STREQUAL erwartet)
    message(SEND_ERROR "${nachricht}: checker ${erwartet}, example ${datei} (file), "
                       "${ueberEingabe} (standard input)")
    math(EXPR abweichungen "${abweichungen} + 1")
  endif()
endforeach()

execute_process(COMMAND ${EMULATOR} ${VESK} pruefen --json --jobs 1 plausi.ini ${nachrichten}
                WORKING_DIRECTORY ${beispiele} OUTPUT_VARIABLE erwartet ERROR_QUIET)
execute_process(COMMAND ${EMULATOR} ${BEISPIEL} --json plausi.ini ${nachrichten}
                WORKING_DIRECTORY ${beispiele} OUTPUT_VARIABLE gefunden)
# The example prints through C's standard output, which ends lines in CR LF on Windows.
string(REPLACE "\r\n" "\n" gefunden "${gefunden}")
if(NOT gefunden STREQUAL erwartet)
  message(SEND_ERROR "JSON lines differ:\n--- vesk pruefen --json\n${erwartet}"
                     "--- example\n${gefunden}")
  math(EXPR abweichungen "${abweichungen} + 1")
endif()
list(LENGTH nachrichten anzahl)
message(STATUS "${anzahl} messages compared, ${abweichungen} differences")
