# Shared build rules: every library is the .cpp files of one folder.

set(GLAMORA_WARNINGS -Wall -Wextra -Wpedantic -Wno-unused-parameter)
# Clang (the fuzz build) knows no local-only form of the shadowing warning.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  list(APPEND GLAMORA_WARNINGS -Wshadow=local)
endif()

# glamora_library(<target> [QT] DEPS <libs...>)
# Builds a static library from the sources in the calling folder.
function(glamora_library target)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  add_library(${target} STATIC ${sources})
  target_compile_options(${target} PRIVATE ${GLAMORA_WARNINGS})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARG_DEPS})
endfunction()

# glamora_check_layers()
# Stops the configuration when a library of GLAMORA_LAYERS links one of its
# own layer or a layer above it, directly or through a generator expression.
function(glamora_check_layers)
  set(below)
  foreach(layer ${GLAMORA_LAYERS})
    string(REPLACE ":" ";" layer ${layer})
    list(GET layer 0 name)
    set(target glamora_${name})
    get_target_property(links ${target} LINK_LIBRARIES)
    get_target_property(interface ${target} INTERFACE_LINK_LIBRARIES)
    foreach(link IN LISTS links interface)
      string(REGEX MATCHALL "glamora_[a-z]+" linked "${link}")
      foreach(other ${linked})
        if(NOT other IN_LIST below)
          message(FATAL_ERROR "${target} links ${other}, which does not lie below it in GLAMORA_LAYERS")
        endif()
      endforeach()
    endforeach()
    list(APPEND below ${target})
  endforeach()
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
