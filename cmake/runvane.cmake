# The runner Runvane.exe (runvane/) on Windows: the program, the input target
# of its end-to-end tests and its benchmark. Its library tavolex_runvane
# (CMakeLists.txt) links the line format, the text routines, the editor's side
# of the companion contract (the repeat-rule reading and the search for
# windows by title) and the platform, never the editor or the program's
# start-up. Included from cmake/windows.cmake after cmake/e2e.cmake.

# --- The program, without DPI awareness (its manifest says nothing of it)
set(RUNVANE_RES_OBJECT ${CMAKE_CURRENT_BINARY_DIR}/generated/runvane_res.o)
add_custom_command(
  OUTPUT ${RUNVANE_RES_OBJECT}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/generated
  COMMAND ${TAVOLEX_WINDRES} --input-format=rc --output-format=coff
          -I ${CMAKE_SOURCE_DIR}/runvane -i ${CMAKE_SOURCE_DIR}/runvane/runvane.rc -o ${RUNVANE_RES_OBJECT}
  DEPENDS ${CMAKE_SOURCE_DIR}/runvane/runvane.rc ${CMAKE_SOURCE_DIR}/runvane/Runvane.manifest
  COMMENT "Compiling the runner's resources"
  VERBATIM)
# Loading comctl32 costs Wine time at start; the runner shows none of the
# controls that need it, so it is delay-loaded: the DLL loads at its first call.
# A function missing from runvane/<dll>.def is taken from the ordinary import
# library after it, and the DLL loads at start again.
find_program(TAVOLEX_DLLTOOL NAMES x86_64-w64-mingw32-dlltool dlltool REQUIRED)
set(RUNVANE_DELAY_LIBS "")
foreach(dll comctl32)
  set(delaylib ${CMAKE_CURRENT_BINARY_DIR}/generated/lib${dll}_delay.a)
  add_custom_command(
    OUTPUT ${delaylib}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/generated
    COMMAND ${TAVOLEX_DLLTOOL} --input-def ${CMAKE_SOURCE_DIR}/runvane/${dll}.def --output-delaylib ${delaylib}
    DEPENDS ${CMAKE_SOURCE_DIR}/runvane/${dll}.def
    VERBATIM)
  list(APPEND RUNVANE_DELAY_LIBS ${delaylib})
endforeach()
add_custom_target(runvane_delay_libs DEPENDS ${RUNVANE_DELAY_LIBS})

add_executable(Runvane WIN32 runvane/main.cpp ${RUNVANE_RES_OBJECT})
add_dependencies(Runvane runvane_delay_libs)
target_link_libraries(Runvane PRIVATE tavolex_runvane platform_win32 ${RUNVANE_DELAY_LIBS})
target_link_options(Runvane PRIVATE -mwindows)
set_target_properties(Runvane PROPERTIES OUTPUT_NAME Runvane SUFFIX .exe
                                         RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
list(APPEND TAVOLEX_PACKAGE_PROGRAMS Runvane)

# --- The end-to-end tests' input target, beside the stand-ins (tests/e2e/target)
add_executable(e2e_input_target WIN32 tests/e2e/target/target.cpp)
target_link_libraries(e2e_input_target PRIVATE e2e_standin_support user32 shell32)
target_link_options(e2e_input_target PRIVATE -municode)
set_target_properties(e2e_input_target PROPERTIES OUTPUT_NAME InputTarget
                                                  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/standins)
add_dependencies(e2e_tests Runvane e2e_input_target)

# --- The runner's benchmark under Wine: a program, not a test (README, "Speed")
add_executable(runvane_bench tools/bench/runvane_bench.cpp)
target_include_directories(runvane_bench PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(runvane_bench PRIVATE UNICODE _UNICODE)
target_compile_options(runvane_bench PRIVATE -finput-charset=UTF-8 -fexec-charset=CP932)
target_link_libraries(runvane_bench PRIVATE e2e_standin_support user32 shell32)
target_link_options(runvane_bench PRIVATE -municode)
add_dependencies(runvane_bench Runvane e2e_input_target)
set_target_properties(runvane_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
