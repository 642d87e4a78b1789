# Runs one command-line case: copies the case folder to a scratch folder, builds every
# "*.meldung" text into the message file "*.dat", runs the program named in "programm"
# (default: the checker) with the lines of "args" as arguments, and compares standard output,
# standard error, exit status and, when "expected.protokoll" exists, the file "protokoll.txt"
# (or the file an optional "protokollname" names).
#
# EMULATOR, when set, runs every program of a cross-build (wine for Windows, say). For a build
# whose SYSTEM is Windows, "expected.<part>.windows" stands for "expected.<part>" where it exists
# (file names found in a folder walk are written with the system's separator).
# With the environment variable VESK_VALGRIND set (for example to
# "valgrind --error-exitcode=99 -q"), the program runs under that command.
#
# In "args", @QUELLEN@ stands for the source tree (to reach examples/), @ARBEIT@ for the
# scratch folder and @xHH@ for the single byte of hexadecimal code HH (an escape sequence, or a
# name that is no UTF-8; cases with such names hold a file "nur-posix", as Windows names are
# UTF-16). An optional "vorbereitung.cmake" runs in the scratch folder before the program.
# An optional "standardausgabe" names the file standard output goes to instead (/dev/full, say);
# standard output is then not compared. Files named in an optional "unveraendert" (one per line,
# in the scratch folder) must have the same content after the run as before, and those named in
# an optional "verweise" must still be symbolic links. No "*.tmp" file may remain in the scratch
# folder or below it.

cmake_policy(VERSION 3.25)
file(REMOVE_RECURSE ${ARBEIT})
file(MAKE_DIRECTORY ${ARBEIT})
file(COPY ${FALL}/ DESTINATION ${ARBEIT})

file(GLOB meldungen ${ARBEIT}/*.meldung)
foreach(text IN LISTS meldungen)
  string(REGEX REPLACE "\\.meldung$" ".dat" ziel ${text})
  execute_process(COMMAND ${EMULATOR} ${BAUEN} ${text} ${ziel} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "meldung_bauen failed for ${text}")
  endif()
endforeach()

if(EXISTS ${ARBEIT}/vorbereitung.cmake)
  include(${ARBEIT}/vorbereitung.cmake)
endif()

set(programm ${PRUEFER})
if(EXISTS ${FALL}/programm)
  file(STRINGS ${FALL}/programm name)
  if(name STREQUAL "IniFile")
    set(programm ${INIFILE})
  elseif(name STREQUAL "Vesk_DatentypNumerisch")
    set(programm ${NUMERISCH})
  elseif(name STREQUAL "Vesk_DatentypAlphanumerisch")
    set(programm ${ALPHANUMERISCH})
  elseif(name STREQUAL "vesk")
    set(programm ${VESK})
  elseif(name STREQUAL "meldung_bauen")
    set(programm ${BAUEN})
  elseif(name STREQUAL "nachricht_erzeugen")
    set(programm ${ERZEUGEN})
  elseif(name STREQUAL "einbettung")
    set(programm ${EINBETTUNG})
  endif()
endif()

set(argumente)
if(EXISTS ${FALL}/args)
  file(STRINGS ${FALL}/args zeilen ENCODING UTF-8)
  foreach(zeile IN LISTS zeilen)
    string(REPLACE "@QUELLEN@" "${QUELLEN}" zeile "${zeile}")
    string(REPLACE "@ARBEIT@" "${ARBEIT}" zeile "${zeile}")
    string(REGEX MATCHALL "@x[0-9A-F][0-9A-F]@" codes "${zeile}")
    foreach(code IN LISTS codes)
      string(SUBSTRING "${code}" 2 2 hex)
      math(EXPR wert "0x${hex}")
      string(ASCII ${wert} byte)
      string(REPLACE "${code}" "${byte}" zeile "${zeile}")
    endforeach()
    list(APPEND argumente "${zeile}")
  endforeach()
endif()

set(vorsatz ${EMULATOR})
if(DEFINED ENV{VESK_VALGRIND})
  separate_arguments(vorsatz UNIX_COMMAND "$ENV{VESK_VALGRIND}")
endif()

set(ausgabe ${ARBEIT}/actual.stdout)
set(teile stdout stderr exit)
if(EXISTS ${FALL}/standardausgabe)
  file(STRINGS ${FALL}/standardausgabe ausgabe)
  set(teile stderr exit)
endif()

set(unveraendert)
if(EXISTS ${FALL}/unveraendert)
  file(STRINGS ${FALL}/unveraendert unveraendert)
endif()
foreach(datei IN LISTS unveraendert)
  file(SHA256 ${ARBEIT}/${datei} vorher_${datei})
endforeach()

execute_process(COMMAND ${vorsatz} ${programm} ${argumente}
  WORKING_DIRECTORY ${ARBEIT}
  OUTPUT_FILE ${ausgabe}
  ERROR_FILE ${ARBEIT}/actual.stderr
  RESULT_VARIABLE exitcode)
file(WRITE ${ARBEIT}/actual.exit "${exitcode}\n")

set(fehler "")
foreach(datei IN LISTS unveraendert)
  file(SHA256 ${ARBEIT}/${datei} nachher)
  if(NOT nachher STREQUAL "${vorher_${datei}}")
    string(APPEND fehler "--- ${datei} was changed\n")
  endif()
endforeach()
if(EXISTS ${FALL}/verweise)
  file(STRINGS ${FALL}/verweise verweise)
  foreach(verweis IN LISTS verweise)
    if(NOT IS_SYMLINK ${ARBEIT}/${verweis})
      string(APPEND fehler "--- ${verweis} is no longer a symbolic link\n")
    endif()
  endforeach()
endif()
file(GLOB_RECURSE uebrig ${ARBEIT}/*.tmp)
if(uebrig)
  string(APPEND fehler "--- temporary files remain: ${uebrig}\n")
endif()
foreach(teil IN LISTS teile)
  set(erwartet ${FALL}/expected.${teil})
  if(SYSTEM STREQUAL "Windows" AND EXISTS ${erwartet}.windows)
    set(erwartet ${erwartet}.windows)
  endif()
  if(EXISTS ${erwartet})
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files
      ${erwartet} ${ARBEIT}/actual.${teil} RESULT_VARIABLE anders)
    if(NOT anders EQUAL 0)
      file(READ ${ARBEIT}/actual.${teil} inhalt)
      string(APPEND fehler "--- ${teil} differs; actual:\n${inhalt}\n")
    endif()
  endif()
endforeach()
if(EXISTS ${FALL}/expected.protokoll)
  set(protokoll protokoll.txt)
  if(EXISTS ${FALL}/protokollname)
    file(STRINGS ${FALL}/protokollname protokoll ENCODING UTF-8)
  endif()
  if(NOT EXISTS ${ARBEIT}/${protokoll})
    string(APPEND fehler "--- ${protokoll} was not written\n")
  else()
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files
      ${FALL}/expected.protokoll ${ARBEIT}/${protokoll} RESULT_VARIABLE anders)
    if(NOT anders EQUAL 0)
      file(READ ${ARBEIT}/${protokoll} inhalt)
      string(APPEND fehler "--- protokoll differs; actual:\n${inhalt}\n")
    endif()
  endif()
endif()
if(NOT fehler STREQUAL "")
  message(FATAL_ERROR "${fehler}")
endif()
