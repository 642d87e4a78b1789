#!/bin/sh
# Readies wine for the Windows tests (cmake --workflow --preset windows): creates the wine prefix
# once and keeps a wine server with its services running until `wineserver -k`. Without this,
# the first test to start wine would start the services too, and they would inherit the test's
# output pipe and hold it open: a test that reads a program's output would wait for them.
set -eu
export WINEDEBUG=-all
# No prompt to install .NET or HTML engines into a new prefix: the tests need neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "${WINEPREFIX:-$HOME/.wine}"
# A server that is already running may lack the services or not stay: start afresh.
wineserver -k </dev/null >/dev/null 2>&1 || true
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
