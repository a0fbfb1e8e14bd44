# End-to-end tests of Tavolex.exe under Wine (ctest label "e2e"), with stand-ins for
# the three companion programs. Included at the end of cmake/windows.cmake, after the
# target Tavolex exists. The stand-ins and the test program are never installed.

get_filename_component(TAVOLEX_E2E_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(TAVOLEX_GTEST_DIR "/usr/src/googletest/googletest" CACHE PATH
    "GoogleTest sources, built with the cross compiler for the end-to-end tests")

# --- Companion stand-ins: GUI programs, built into build/windows/standins under the
# names the editor starts.
add_library(e2e_standin_support STATIC ${TAVOLEX_E2E_ROOT}/tools/standins/standin.cpp)
target_include_directories(e2e_standin_support PUBLIC ${TAVOLEX_E2E_ROOT})
target_compile_definitions(e2e_standin_support PUBLIC UNICODE _UNICODE)

foreach(standin IN ITEMS "runner;Runvane" "picker;Pickmark" "titlescan;Titlescan")
  list(GET standin 0 source)
  list(GET standin 1 output)
  add_executable(e2e_standin_${source} WIN32 ${TAVOLEX_E2E_ROOT}/tools/standins/${source}.cpp)
  target_link_libraries(e2e_standin_${source} PRIVATE e2e_standin_support user32 shell32)
  set_target_properties(e2e_standin_${source} PROPERTIES
    OUTPUT_NAME ${output}
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/standins)
endforeach()

# --- GoogleTest for Windows (gtest only, static).
if(NOT EXISTS "${TAVOLEX_GTEST_DIR}/src/gtest-all.cc")
  message(FATAL_ERROR "GoogleTest sources not found in ${TAVOLEX_GTEST_DIR} (package googletest)")
endif()
add_library(e2e_gtest STATIC ${TAVOLEX_GTEST_DIR}/src/gtest-all.cc)
target_include_directories(e2e_gtest SYSTEM PUBLIC ${TAVOLEX_GTEST_DIR}/include
                           PRIVATE ${TAVOLEX_GTEST_DIR})
# Third-party code: its own warnings are not ours, and its texts stay as written.
target_compile_options(e2e_gtest PRIVATE -w -fexec-charset=UTF-8)

# --- The test program: a console program that drives Tavolex.exe through Win32.
file(GLOB TAVOLEX_E2E_SOURCES CONFIGURE_DEPENDS ${TAVOLEX_E2E_ROOT}/tests/e2e/*.cpp)
add_executable(e2e_tests ${TAVOLEX_E2E_SOURCES})
target_include_directories(e2e_tests PRIVATE ${TAVOLEX_E2E_ROOT})
target_compile_definitions(e2e_tests PRIVATE UNICODE _UNICODE)
# Narrow literals are Shift-JIS, as in the program's own files.
target_compile_options(e2e_tests PRIVATE -finput-charset=UTF-8 -fexec-charset=CP932)
target_link_libraries(e2e_tests PRIVATE e2e_gtest e2e_standin_support tavolex_resources
                      user32 gdi32 comctl32 shell32 ole32 uuid)
add_dependencies(e2e_tests Tavolex e2e_standin_runner e2e_standin_picker e2e_standin_titlescan)

add_test(NAME e2e
  COMMAND bash ${TAVOLEX_E2E_ROOT}/tools/wine/run-under-wine.sh
          --build-dir ${CMAKE_BINARY_DIR}
          --screens ${CMAKE_BINARY_DIR}/e2e-screens
          --timeout 1700
          --
          $<TARGET_FILE:e2e_tests>
          --tavolex=$<TARGET_FILE:Tavolex>
          --standins=${CMAKE_BINARY_DIR}/standins
          --work=${CMAKE_BINARY_DIR}/e2e-work
          --screens=${CMAKE_BINARY_DIR}/e2e-screens)
set_tests_properties(e2e PROPERTIES LABELS e2e TIMEOUT 1800)

# The same tests on a Western Windows (ANSI code page 1252): the program converts
# its Shift-JIS text itself and uses only the W functions, so nothing may change.
add_test(NAME e2e_western_code_page
  COMMAND ${CMAKE_COMMAND} -E env TAVOLEX_WINE_LOCALE=C.UTF-8
          bash ${TAVOLEX_E2E_ROOT}/tools/wine/run-under-wine.sh
          --build-dir ${CMAKE_BINARY_DIR}/western
          --timeout 1700
          --
          $<TARGET_FILE:e2e_tests>
          --tavolex=$<TARGET_FILE:Tavolex>
          --standins=${CMAKE_BINARY_DIR}/standins
          --work=${CMAKE_BINARY_DIR}/western/e2e-work
          --screens=${CMAKE_BINARY_DIR}/western/e2e-screens)
set_tests_properties(e2e_western_code_page PROPERTIES LABELS e2e TIMEOUT 1800)

# Screen acquisition on a display scaled to 150 % (144 DPI, a larger virtual screen so
# that the sharp dialog fits): the editor is aware of each monitor's DPI, yet every
# coordinate it exchanges with jobs and companions must be the one a program without
# DPI awareness sees.
add_test(NAME e2e_dpi144
  COMMAND ${CMAKE_COMMAND} -E env TAVOLEX_WINE_DPI=144 TAVOLEX_XVFB_SCREEN=1920x1440x24
          bash ${TAVOLEX_E2E_ROOT}/tools/wine/run-under-wine.sh
          --build-dir ${CMAKE_BINARY_DIR}/dpi144
          --timeout 600
          --
          $<TARGET_FILE:e2e_tests>
          --gtest_filter=Acquisition.*:Runner.*:Pickmark.*
          --tavolex=$<TARGET_FILE:Tavolex>
          --standins=${CMAKE_BINARY_DIR}/standins
          --work=${CMAKE_BINARY_DIR}/dpi144/e2e-work
          --screens=${CMAKE_BINARY_DIR}/dpi144/e2e-screens)
set_tests_properties(e2e_dpi144 PROPERTIES LABELS e2e TIMEOUT 900)
