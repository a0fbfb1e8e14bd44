# Windows x64: the Win32 platform layer, the program's resources and Tavolex.exe.

# --- The Win32 platform layer
file(GLOB PLATFORM_WIN32_SOURCES CONFIGURE_DEPENDS platform/win32/*.cpp)
add_library(platform_win32 STATIC ${PLATFORM_WIN32_SOURCES})
target_include_directories(platform_win32 PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(platform_win32 PUBLIC tavolex_resources comctl32 shell32 ole32 uuid gdi32 user32 kernel32)

# --- Resources
# makeres is a host program: it reads the dialog and string tables of
# resources/templates.cpp and writes the resource script with the icon and
# the status animation, which windres compiles into a COFF object.
find_program(TAVOLEX_HOST_CXX NAMES g++ c++ REQUIRED)
if(CMAKE_RC_COMPILER)
  set(TAVOLEX_WINDRES ${CMAKE_RC_COMPILER})
else()
  find_program(TAVOLEX_WINDRES NAMES x86_64-w64-mingw32-windres windres REQUIRED)
endif()

file(GLOB MAKERES_SOURCES CONFIGURE_DEPENDS tools/makeres/*.cpp)
file(GLOB MAKERES_HEADERS CONFIGURE_DEPENDS tools/makeres/*.h)
set(MAKERES_EXE ${CMAKE_CURRENT_BINARY_DIR}/makeres/makeres)
add_custom_command(
  OUTPUT ${MAKERES_EXE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/makeres
  COMMAND ${TAVOLEX_HOST_CXX} -std=c++17 -O2 -Wall -Wextra -finput-charset=UTF-8 -fexec-charset=CP932
          -I${CMAKE_CURRENT_SOURCE_DIR} ${MAKERES_SOURCES} ${TAVOLEX_RESOURCE_SOURCES} -o ${MAKERES_EXE}
  DEPENDS ${MAKERES_SOURCES} ${MAKERES_HEADERS} ${TAVOLEX_RESOURCE_SOURCES}
          ${CMAKE_CURRENT_SOURCE_DIR}/resources/templates.h
  COMMENT "Building the host tool makeres"
  VERBATIM)

set(TAVOLEX_RES_DIR ${CMAKE_CURRENT_BINARY_DIR}/generated)
set(TAVOLEX_MANIFEST ${CMAKE_CURRENT_SOURCE_DIR}/resources/Tavolex.manifest)
set(TAVOLEX_RC ${TAVOLEX_RES_DIR}/tavolex.rc)
set(TAVOLEX_RES_OBJECT ${TAVOLEX_RES_DIR}/tavolex_res.o)
add_custom_command(
  OUTPUT ${TAVOLEX_RC} ${TAVOLEX_RES_DIR}/tavolex.ico ${TAVOLEX_RES_DIR}/status.avi
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TAVOLEX_RES_DIR}
  COMMAND ${MAKERES_EXE} ${TAVOLEX_RES_DIR} ${TAVOLEX_MANIFEST}
  DEPENDS ${MAKERES_EXE}
  COMMENT "Generating the resource script, icon and animation"
  VERBATIM)
add_custom_command(
  OUTPUT ${TAVOLEX_RES_OBJECT}
  COMMAND ${TAVOLEX_WINDRES} --input-format=rc --output-format=coff -i ${TAVOLEX_RC} -o ${TAVOLEX_RES_OBJECT}
  DEPENDS ${TAVOLEX_RC} ${TAVOLEX_RES_DIR}/tavolex.ico ${TAVOLEX_RES_DIR}/status.avi ${TAVOLEX_MANIFEST}
  COMMENT "Compiling the resources"
  VERBATIM)
add_custom_target(tavolex_resource_object DEPENDS ${TAVOLEX_RES_OBJECT})

# --- The program
# A GUI program entered at main() (app/main.cpp), without a console.
add_executable(Tavolex WIN32 app/main.cpp ${TAVOLEX_RES_OBJECT})
add_dependencies(Tavolex tavolex_resource_object)
target_link_libraries(Tavolex PRIVATE tavolex_app platform_win32)
target_link_options(Tavolex PRIVATE -mwindows)
set_target_properties(Tavolex PROPERTIES OUTPUT_NAME Tavolex SUFFIX .exe
                                         RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# --- Tests of the platform layer and the resources, run under Wine
file(GLOB PLATFORM_WIN32_TEST_SOURCES CONFIGURE_DEPENDS tests/win32/*.cpp)
add_executable(platform_win32_tests ${PLATFORM_WIN32_TEST_SOURCES} ${TAVOLEX_RES_OBJECT})
add_dependencies(platform_win32_tests tavolex_resource_object)
target_link_libraries(platform_win32_tests PRIVATE platform_win32)
target_link_options(platform_win32_tests PRIVATE -municode)
add_test(NAME platform_win32
         COMMAND bash ${CMAKE_SOURCE_DIR}/tools/wine/run-under-wine.sh --build-dir ${CMAKE_BINARY_DIR}
                 --timeout 600 -- $<TARGET_FILE:platform_win32_tests>)
set_tests_properties(platform_win32 PROPERTIES LABELS "e2e;platform" TIMEOUT 900)

# --- The benchmarks: programs, not tests (README, "Speed"; tools/bench/run.sh
# runs them under Wine). The operation-list benchmark with the real dialog:
add_executable(tavolex_bench tools/bench/list_bench.cpp tools/bench/sample_job.cpp ${TAVOLEX_RES_OBJECT})
add_dependencies(tavolex_bench tavolex_resource_object)
target_link_libraries(tavolex_bench PRIVATE tavolex_editor platform_win32)
set_target_properties(tavolex_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The start-up benchmark and its anchor programs: a bare dialog, a dialog with
# Common Controls 6 (the manifest) and one list view, and the editor's own
# dialog template shown without the editor's work.
set(BENCH_ANCHOR_RES_OBJECT ${TAVOLEX_RES_DIR}/bench_anchor_res.o)
add_custom_command(
  OUTPUT ${BENCH_ANCHOR_RES_OBJECT}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TAVOLEX_RES_DIR}
  COMMAND ${TAVOLEX_WINDRES} --input-format=rc --output-format=coff
          -I ${CMAKE_CURRENT_SOURCE_DIR}/tools/bench -i ${CMAKE_CURRENT_SOURCE_DIR}/tools/bench/anchor.rc
          -o ${BENCH_ANCHOR_RES_OBJECT}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tools/bench/anchor.rc ${CMAKE_CURRENT_SOURCE_DIR}/tools/bench/anchor.manifest
  COMMENT "Compiling the anchor's manifest"
  VERBATIM)
add_executable(bench_bare_dialog WIN32 tools/bench/anchor_dialog.cpp)
add_executable(bench_list_dialog WIN32 tools/bench/anchor_dialog.cpp ${BENCH_ANCHOR_RES_OBJECT})
target_compile_definitions(bench_list_dialog PRIVATE ANCHOR_LIST_VIEW)
target_link_libraries(bench_list_dialog PRIVATE comctl32)
add_executable(bench_template_dialog WIN32 tools/bench/anchor_dialog.cpp ${TAVOLEX_RES_OBJECT})
add_dependencies(bench_template_dialog tavolex_resource_object)
target_compile_definitions(bench_template_dialog PRIVATE ANCHOR_EDITOR_TEMPLATE)
target_link_libraries(bench_template_dialog PRIVATE tavolex_resources comctl32)
add_executable(tavolex_startup_bench tools/bench/startup_bench.cpp tools/bench/sample_job.cpp)
set_target_properties(tavolex_startup_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_link_libraries(tavolex_startup_bench PRIVATE tavolex_jobstore platform_win32 psapi)
add_dependencies(tavolex_startup_bench Tavolex bench_bare_dialog bench_list_dialog bench_template_dialog
                 e2e_standin_picker)
foreach(bench_target IN ITEMS bench_bare_dialog bench_list_dialog bench_template_dialog)
  target_link_options(${bench_target} PRIVATE -municode)
  set_target_properties(${bench_target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endforeach()

# --- The end-to-end tests of Tavolex.exe with stand-ins of the companions
include(cmake/e2e.cmake)
include(cmake/runvane.cmake)
include(cmake/pickers.cmake)
include(cmake/package.cmake)
