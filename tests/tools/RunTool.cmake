# Runs one orvctl command and compares what it did with what the case expects.
#   PROGRAM    orvctl, run through EMULATOR when that is set (Wine)
#   ARGS       its arguments, separated by '|'
#   WORKDIR    the directory it runs in
#   EXIT       the exit status it must give
#   STDOUT     file with the expected standard output (else it must write none)
#   STDERR     file with the expected standard error, or
#   STDERR_RE  a regular expression that its one line of standard error must match
#              (else it must write none)
#   PRELOAD    natively, a library to preload: the stand-in platform
# Every variable that names the case's environment (ORVANE_*) is passed on as it is.
cmake_minimum_required(VERSION 3.25)
string(REPLACE "|" ";" args "${ARGS}")
if(PRELOAD)
  set(ENV{LD_PRELOAD} "${PRELOAD}")
endif()
execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${args}
  WORKING_DIRECTORY ${WORKDIR}
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
# Windows programs end their lines with CR LF.
string(REPLACE "\r" "" out "${out}")
string(REPLACE "\r" "" err "${err}")

set(problems "")
if(NOT result STREQUAL EXIT)
  string(APPEND problems "exit status ${result}, expected ${EXIT}\n")
endif()
foreach(stream out err)
  string(TOUPPER "STD${stream}" var)
  if(DEFINED ${var})
    file(READ ${${var}} expected)
  elseif("${stream}" STREQUAL "err" AND DEFINED STDERR_RE)
    # One line, without its end.
    string(REGEX REPLACE "\n$" "" line "${err}")
    if(line MATCHES "\n" OR NOT line MATCHES "${STDERR_RE}")
      string(APPEND problems "stderr is not one line that matches ${STDERR_RE}\n")
    endif()
    continue()
  else()
    set(expected "")
  endif()
  if(NOT ${stream} STREQUAL expected)
    string(APPEND problems "std${stream} differs from ${${var}}\n"
                           "--- expected\n${expected}--- got\n${${stream}}---\n")
  endif()
endforeach()
if(problems)
  string(REPLACE "|" " " command "${ARGS}")
  message(FATAL_ERROR "orvctl ${command}\n${problems}stderr was:\n${err}")
endif()
