# GoogleTest from Debian's sources (package googletest), built for whichever
# compiler this tree uses, so host and target tests share one version.
set(LUMORA_GTEST_SRC /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
add_subdirectory(${LUMORA_GTEST_SRC} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# A test executable whose cases become ctest tests by reading the sources,
# so nothing runs at build time (under Wine that would need a display).
function(lumora_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main)
  lumora_warnings(${name})
  gtest_add_tests(TARGET ${name} SOURCES ${ARG_SOURCES} TEST_LIST tests_of_${name})
  if(ARG_LABELS)
    set_tests_properties(${tests_of_${name}} PROPERTIES LABELS "${ARG_LABELS}")
  endif()
endfunction()
