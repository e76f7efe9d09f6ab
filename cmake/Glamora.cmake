# Shared build rules: every library is the .cpp files of one folder.

set(GLAMORA_WARNINGS -Wall -Wextra -Wpedantic -Wshadow=local -Wno-unused-parameter)

# glamora_library(<target> [QT] DEPS <libs...>)
# Builds a static library from the sources in the calling folder.
function(glamora_library target)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  if(NOT sources)
    # A folder whose code has not arrived yet still gives a library to link.
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${target}_empty.cpp "namespace {}\n")
    set(sources ${CMAKE_CURRENT_BINARY_DIR}/${target}_empty.cpp)
  endif()
  add_library(${target} STATIC ${sources})
  target_compile_options(${target} PRIVATE ${GLAMORA_WARNINGS})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARG_DEPS})
endfunction()

# glamora_test_suite(<name> DEPS <libs...>)
# One test executable per folder of tests/, every case registered with ctest.
function(glamora_test_suite name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  target_compile_options(${name} PRIVATE ${GLAMORA_WARNINGS})
  target_link_libraries(${name} PRIVATE glamora_testsupport ${ARG_DEPS})
  # The test main chooses the offscreen platform and knows the source and
  # program folders (see tests/support/TestMain.cpp).
  gtest_discover_tests(${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR} DISCOVERY_TIMEOUT 60)
endfunction()
