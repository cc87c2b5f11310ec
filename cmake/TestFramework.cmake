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

# Every run of a test program goes through gtest-run.sh (before Wine in the
# cross builds): the run is judged by its exit status and by gtest's own
# result file, and a run whose every case skipped itself ends with this code.
set(KORVAIN_GTEST_RUNNER ${CMAKE_SOURCE_DIR}/scripts/gtest-run.sh ${CMAKE_CROSSCOMPILING_EMULATOR})
set(KORVAIN_GTEST_SKIP_CODE 77)

# korvain_add_test(NAME [DESKTOP] SOURCES... [LIBS ...] [ENVIRONMENT VAR=VALUE]
#                  [TIMEOUT SECONDS]): one test program, its cases listed for
# CTest when the tests run (under Wine in the cross builds). DESKTOP: its
# cases show windows. TIMEOUT: the limit of each case, 120 s unless told.
function(korvain_add_test name)
  cmake_parse_arguments(ARG "DESKTOP" "TIMEOUT" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  set(lock)
  if(ARG_DESKTOP)
    set(lock ${KORVAIN_DESKTOP_LOCK})
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
  korvain_warnings(${name})
  # The discovered tests' properties pass through a generated script that
  # splits a list of variables into separate properties: one variable only.
  list(LENGTH ARG_ENVIRONMENT environment_count)
  if(environment_count GREATER 1)
    message(FATAL_ERROR "korvain_add_test(${name}): one ENVIRONMENT variable at most")
  endif()
  # The runner of the program's every test, its discovered cases and any
  # other test that names the program.
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${KORVAIN_GTEST_RUNNER}")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT ${ARG_TIMEOUT} SKIP_RETURN_CODE ${KORVAIN_GTEST_SKIP_CODE}
               ENVIRONMENT "${ARG_ENVIRONMENT}" ${lock})
endfunction()

# korvain_copy_for_windows_version(TARGET WINE_VERSION): a copy of the
# program TARGET named TARGET_WINE_VERSION.exe, to which Wine reports the
# Windows version WINE_VERSION (winxp, winxp64, win2k) through the copy's
# AppDefaults key, and a test fixture TARGET.WINE_VERSION that writes that
# key. The key is per program name, so the original keeps Wine's default
# version. In a 64-bit prefix `winecfg -v` takes only winxp64, but the key
# takes every version for 32- and 64-bit programs alike. Sets
# KORVAIN_VERSION_COPY to the copy's path in the caller's scope.
function(korvain_copy_for_windows_version target wine_version)
  set(copy_name ${target}_${wine_version}.exe)
  set(copy ${CMAKE_CURRENT_BINARY_DIR}/${copy_name})
  add_custom_command(OUTPUT ${copy}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> ${copy}
    DEPENDS ${target})
  add_custom_target(${target}_${wine_version} ALL DEPENDS ${copy})
  add_test(NAME ${target}.${wine_version}.set_version
    COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} reg add
            "HKCU\\Software\\Wine\\AppDefaults\\${copy_name}" /v Version /d ${wine_version} /f)
  set_tests_properties(${target}.${wine_version}.set_version PROPERTIES
    FIXTURES_SETUP ${target}.${wine_version} TIMEOUT 120)
  set(KORVAIN_VERSION_COPY ${copy} PARENT_SCOPE)
endfunction()

# korvain_test_under_windows_version(TARGET WINE_VERSION EXPECTED [ENVIRONMENT ...]):
# every case of the test program TARGET once more, in one run of its copy
# under the Windows version WINE_VERSION. EXPECTED (major.minor.servicepack)
# is what the copy's version query must answer; the case that checks it
# skips itself elsewhere.
function(korvain_test_under_windows_version target wine_version expected)
  cmake_parse_arguments(ARG "" "" "ENVIRONMENT" ${ARGN})
  korvain_copy_for_windows_version(${target} ${wine_version})
  add_test(NAME ${target}.on_${wine_version}
    COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} ${KORVAIN_VERSION_COPY})
  set_tests_properties(${target}.on_${wine_version} PROPERTIES
    FIXTURES_REQUIRED ${target}.${wine_version} TIMEOUT 600 ${KORVAIN_DESKTOP_LOCK}
    ENVIRONMENT "KORVAIN_EXPECT_WINDOWS=${expected};${ARG_ENVIRONMENT}")
endfunction()

# korvain_test_under_windows_xp(TARGET [ENVIRONMENT ...]): the XP builds'
# program once more where Wine reports Windows XP itself: Service Pack 3 for
# x86, the x64 edition's 5.2 for x64.
function(korvain_test_under_windows_xp target)
  if(KORVAIN_WINDOWS_ARCH STREQUAL "x86")
    korvain_test_under_windows_version(${target} winxp 5.1.3 ${ARGN})
  else()
    korvain_test_under_windows_version(${target} winxp64 5.2.2 ${ARGN})
  endif()
endfunction()
