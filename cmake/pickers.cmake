# The pickers: the coordinate picker Pickmark.exe (pickmark/) and the
# window-title picker Titlescan.exe (titlescan/). Each links the text
# routines and the platform (the title picker also the dialog templates),
# never the editor or the program's start-up. Included at the end of
# cmake/native.cmake (the tests link the libraries) and from
# cmake/windows.cmake before cmake/package.cmake (the programs go into the
# package beside Tavolex.exe).

tavolex_layer(tavolex_pickmark pickmark tavolex_text)
tavolex_layer(tavolex_titlescan titlescan tavolex_text tavolex_resources)

if(NOT TAVOLEX_PLATFORM STREQUAL "win32")
  target_link_libraries(unit_tests tavolex_pickmark tavolex_titlescan)
  target_link_libraries(scenario_tests tavolex_pickmark tavolex_titlescan)
  return()
endif()

# program;folder;dialog templates (res::kTitleScanDialog is 110)
foreach(picker IN ITEMS "Pickmark;pickmark" "Titlescan;titlescan;110")
  list(POP_FRONT picker program folder)
  set(manifest ${CMAKE_SOURCE_DIR}/${folder}/${program}.manifest)
  set(script ${TAVOLEX_RES_DIR}/${folder}.rc)
  set(object ${TAVOLEX_RES_DIR}/${folder}_res.o)
  add_custom_command(
    OUTPUT ${script}
    COMMAND ${MAKERES_EXE} --companion ${program} ${script} ${TAVOLEX_RES_DIR}/tavolex.ico ${manifest} ${picker}
    DEPENDS ${MAKERES_EXE} ${TAVOLEX_RES_DIR}/tavolex.ico ${manifest}
    COMMENT "Generating the resource script of ${program}"
    VERBATIM)
  add_custom_command(
    OUTPUT ${object}
    COMMAND ${TAVOLEX_WINDRES} --input-format=rc --output-format=coff -i ${script} -o ${object}
    DEPENDS ${script} ${manifest}
    COMMENT "Compiling the resources of ${program}"
    VERBATIM)
  add_executable(${program} WIN32 ${folder}/main.cpp ${object})
  target_link_libraries(${program} PRIVATE tavolex_${folder} platform_win32)
  target_link_options(${program} PRIVATE -mwindows)
  set_target_properties(${program} PROPERTIES OUTPUT_NAME ${program} SUFFIX .exe
                                              RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  add_dependencies(e2e_tests ${program})
  list(APPEND TAVOLEX_PACKAGE_PROGRAMS ${program})
endforeach()

# --- The pickers' benchmark under Wine: a program, not a test (README, "Speed")
add_executable(pickers_bench tools/bench/pickers_bench.cpp)
target_include_directories(pickers_bench PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(pickers_bench PRIVATE UNICODE _UNICODE)
target_compile_options(pickers_bench PRIVATE -finput-charset=UTF-8 -fexec-charset=CP932)
target_link_libraries(pickers_bench PRIVATE e2e_standin_support user32 shell32)
add_dependencies(pickers_bench Tavolex Pickmark)
set_target_properties(pickers_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
