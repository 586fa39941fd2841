# cmake -DRUNNER=wine-test.sh -DWINE=wine -DPROGRAM=heap_faults.exe -DFAILURES=REGEX
#       -DHEAP_CHECK_WINEDEBUG=CHANNELS -P heap_check_canary.cmake
#
# Runs each case of heap_faults.exe alone, as ctest runs a heap-checked test (the
# same runner, and the environment pexo_heap_checked_test gave this test, which
# the program inherits), and judges its output by the same expression ctest fails
# those tests by (FAILURES, matched by CMake's expressions, which are ctest's).
# A fault that must be reported passes only when its case ran through and the
# output matches; one that Wine does not report must leave no match, so that the
# comments saying so are corrected once a Wine starts reporting it.
#
# This script's own output never holds a match: ctest checks it by FAILURES too.
cmake_minimum_required(VERSION 3.20)

if(NOT "$ENV{WINEDEBUG}" STREQUAL "${HEAP_CHECK_WINEDEBUG}")
  message(FATAL_ERROR "WINEDEBUG is \"$ENV{WINEDEBUG}\", not the heap checking's \"${HEAP_CHECK_WINEDEBUG}\"")
endif()

set(reported AProcessHeapBlockFreedTwice AMallocBlockFreedTwice AnObjectDeletedTwice AProgramItStartsFreesABlockTwice)
set(unreported AProcessHeapBlockWrittenAfterItWasFreed AMallocBlockWrittenAfterItWasFreed
               AnObjectWrittenAfterItWasDeleted FreedBlocksReadAsWinesFill)

set(failed 0)
foreach(case ${reported} ${unreported})
  execute_process(COMMAND ${CMAKE_COMMAND} -E env GTEST_FILTER=HeapFaults.${case} bash ${RUNNER} ${WINE} ${PROGRAM}
                  OUTPUT_VARIABLE output ERROR_VARIABLE output RESULT_VARIABLE status TIMEOUT 500)
  string(FIND "${output}" "[       OK ] HeapFaults.${case}" passed)
  string(REGEX MATCH "${FAILURES}" match "${output}")
  list(FIND reported ${case} must_report)
  if(NOT status EQUAL 0 OR passed EQUAL -1)
    set(verdict "did not run through and pass (exit status ${status})")
  elseif(must_report GREATER -1 AND NOT match)
    set(verdict "ran through, but nothing in its output fails a heap-checked test")
  elseif(must_report EQUAL -1 AND match)
    set(verdict "is now reported: correct the comments that say Wine does not report it")
  else()
    if(match)
      message(STATUS "${case}: ran through; its heap message fails a heap-checked test")
    else()
      message(STATUS "${case}: ran through; no heap message, as expected of this Wine")
    endif()
    continue()
  endif()
  set(failed 1)
  message(STATUS "${case} ${verdict}; its output:\n${output}")
endforeach()
if(failed)
  message(FATAL_ERROR "the heap checking does not behave as the heap-checked tests rely on")
endif()
