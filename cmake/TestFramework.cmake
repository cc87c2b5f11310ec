# GoogleTest from Debian's sources, built with the configuration's own
# compiler and flags (sanitizers natively, mingw-w64 for Windows).
set(KORVAIN_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
if(NOT EXISTS ${KORVAIN_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${KORVAIN_GTEST_SOURCE}: install the googletest package")
endif()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${KORVAIN_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

if(WIN32)
  foreach(t gtest gtest_main gmock gmock_main)
    target_compile_definitions(${t} PUBLIC GTEST_HAS_NOTIFICATION_=1)
    target_compile_options(${t} PUBLIC
      -include ${CMAKE_CURRENT_LIST_DIR}/gtest-win32-notification.h)
  endforeach()
endif()
foreach(t gtest gtest_main gmock gmock_main)
  # GoogleTest's own sources do not pass our warning set.
  set_target_properties(${t} PROPERTIES COMPILE_WARNING_AS_ERROR OFF)
endforeach()

include(GoogleTest)

# Tests that show windows share one Wine desktop: a window of one test
# taking the foreground moves the focus and re-activates the message boxes
# of another, so they hold this lock and run one at a time.
set(KORVAIN_DESKTOP_LOCK RESOURCE_LOCK wine_desktop)

# korvain_add_test(NAME [DESKTOP] SOURCES... [LIBS ...] [ENVIRONMENT ...]): one test program,
# its cases listed for CTest when the tests run (under Wine in the cross
# builds). DESKTOP: its cases show windows.
function(korvain_add_test name)
  cmake_parse_arguments(ARG "DESKTOP" "" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  set(lock)
  if(ARG_DESKTOP)
    set(lock ${KORVAIN_DESKTOP_LOCK})
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
  korvain_warnings(${name})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT 120 ENVIRONMENT "${ARG_ENVIRONMENT}" ${lock})
endfunction()
