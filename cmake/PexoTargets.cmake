# Helpers shared by the folders' CMakeLists.

set(PEXO_WARNINGS -Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers
                  -Wno-cast-function-type)

# pexo_library(NAME DEPS...): one static library from every source in the current folder.
function(pexo_library name)
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  if(NOT _src)
    set(_src ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${name} STATIC ${_src})
  target_compile_options(${name} PRIVATE ${PEXO_WARNINGS})
  if(ARGN)
    target_link_libraries(${name} PUBLIC ${ARGN})
  endif()
endfunction()

# Tests run through Wine by scripts/wine-test.sh, which ends a Wine process that
# hangs after its program finished and runs a stalled program once more (each
# attempt has its own limit). ctest's limit covers both attempts, so a hung
# run still fails instead of stalling the suite.
set(PEXO_TEST_TIMEOUT 600)  # seconds for both attempts
set(PEXO_WINEPREFIX "" CACHE PATH "Wine prefix used by the tests")

function(pexo_test_env test)
  set(_env "WINEDEBUG=-all,err+module")
  if(PEXO_WINEPREFIX)
    list(APPEND _env "WINEPREFIX=${PEXO_WINEPREFIX}")
  endif()
  set_tests_properties(${test} PROPERTIES TIMEOUT ${PEXO_TEST_TIMEOUT} ENVIRONMENT "${_env}")
endfunction()

# Wine's heap checking, for tests whose faults would otherwise pass unseen. With
# "warn+heap" Wine refuses a block freed twice and prints a "warn:heap" line for it
# (the process heap's blocks and the C runtime's, malloc/free and new/delete alike,
# and those of programs the test starts, whose Wine messages share its output); the
# line fails the test. Freed blocks are also held back and filled with 0xFEEEFEEE,
# so a read through a freed object meets that fill instead of the old values.
# Wine 8 does not report a write into a freed block. tests/support/heap_faults.cpp
# and the "heap_check_canary" test show all of it.
set(PEXO_HEAP_CHECK_WINEDEBUG "-all,err+module,warn+heap")
set(PEXO_HEAP_CHECK_FAILURES "err:heap|warn:heap")

# pexo_heap_checked_test(TEST...): runs the tests under that heap checking.
function(pexo_heap_checked_test)
  foreach(_test ${ARGN})
    set_tests_properties(${_test} PROPERTIES FAIL_REGULAR_EXPRESSION "${PEXO_HEAP_CHECK_FAILURES}")
    set_property(TEST ${_test} APPEND PROPERTY ENVIRONMENT "WINEDEBUG=${PEXO_HEAP_CHECK_WINEDEBUG}")
  endforeach()
endfunction()

# pexo_tests(PREFIX DEPS... [DIRS SUBFOLDER...]): one test executable per *_test.cpp
# in the current folder, or in the named subfolders of it; the executables all land
# in the current folder's build folder, named PREFIX_<file>. Separate processes keep
# process-wide singletons, hot keys and windows of one test file from leaking into
# another.
function(pexo_tests prefix)
  cmake_parse_arguments(PARSE_ARGV 1 _pt "" "" "DIRS")
  set(_tests)
  if(_pt_DIRS)
    foreach(_dir ${_pt_DIRS})
      file(GLOB _found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${_dir}/*_test.cpp)
      list(APPEND _tests ${_found})
    endforeach()
  else()
    file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  endif()
  foreach(_t ${_tests})
    get_filename_component(_n ${_t} NAME_WE)
    set(_exe ${prefix}_${_n})
    add_executable(${_exe} ${_t} ${CMAKE_SOURCE_DIR}/tests/support/program_start.cpp)
    target_compile_options(${_exe} PRIVATE ${PEXO_WARNINGS})
    target_link_libraries(${_exe} PRIVATE pexo_test_support ${_pt_UNPARSED_ARGUMENTS} GTest::gmock GTest::gtest_main GTest::gtest)
    add_test(NAME ${_exe}
             COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/wine-test.sh ${CMAKE_CROSSCOMPILING_EMULATOR}
                     $<TARGET_FILE:${_exe}>
             WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    pexo_test_env(${_exe})
  endforeach()
endfunction()

# Moves a program's debug information into "<program>.debug" beside it, linked by
# name (debuggers find it there). Wine loads every section of an image at start,
# debug sections included: 15 to 55 MB of a process's working set, varying from
# start to start, for data the program never reads.
function(pexo_separate_debug_info target)
  if(NOT CMAKE_OBJCOPY)
    return()
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> $<TARGET_FILE:${target}>.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-debug --add-gnu-debuglink=$<TARGET_FILE:${target}>.debug
            $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()
