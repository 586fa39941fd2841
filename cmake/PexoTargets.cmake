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

# Tests run through Wine; every test process gets a time limit so a hung Wine
# process fails the run instead of stalling it.
set(PEXO_TEST_TIMEOUT 300 CACHE STRING "Seconds one test executable may run")
set(PEXO_WINEPREFIX "" CACHE PATH "Wine prefix used by the tests")

function(pexo_test_env test)
  set(_env "WINEDEBUG=-all,err+module")
  if(PEXO_WINEPREFIX)
    list(APPEND _env "WINEPREFIX=${PEXO_WINEPREFIX}")
  endif()
  set_tests_properties(${test} PROPERTIES TIMEOUT ${PEXO_TEST_TIMEOUT} ENVIRONMENT "${_env}")
endfunction()

# pexo_tests(PREFIX DEPS...): one test executable per *_test.cpp in the current folder.
# Separate processes keep process-wide singletons, hot keys and windows of one test
# file from leaking into another.
function(pexo_tests prefix)
  file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  foreach(_t ${_tests})
    get_filename_component(_n ${_t} NAME_WE)
    set(_exe ${prefix}_${_n})
    add_executable(${_exe} ${_t})
    target_compile_options(${_exe} PRIVATE ${PEXO_WARNINGS})
    target_link_libraries(${_exe} PRIVATE pexo_test_support ${ARGN} GTest::gmock GTest::gtest_main GTest::gtest)
    add_test(NAME ${_exe} COMMAND ${_exe} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    pexo_test_env(${_exe})
  endforeach()
endfunction()
