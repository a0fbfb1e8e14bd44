# The Windows package Tavolex-<version>-win64.zip (target "windows_package", built
# with the program): Tavolex.exe, the companion programs of this repository
# (TAVOLEX_PACKAGE_PROGRAMS, targets) and the Japanese user guide. The version is
# that of the program's resources.
file(STRINGS "${CMAKE_SOURCE_DIR}/resources/templates.h" version_line REGEX "kVersionText = \"[0-9.]+\"")
string(REGEX MATCH "[0-9]+\\.[0-9]+\\.[0-9]+" TAVOLEX_VERSION "${version_line}")
if(NOT TAVOLEX_VERSION)
  message(FATAL_ERROR "no version in resources/templates.h")
endif()
set(TAVOLEX_PACKAGE_NAME "Tavolex-${TAVOLEX_VERSION}-win64")
set(TAVOLEX_PACKAGE_ZIP "${CMAKE_BINARY_DIR}/${TAVOLEX_PACKAGE_NAME}.zip")
set(TAVOLEX_GUIDE "${CMAKE_SOURCE_DIR}/docs/guide-ja.txt")

set(TAVOLEX_PACKAGE_FILES Tavolex.exe)
set(package_exes $<TARGET_FILE:Tavolex>)
foreach(program ${TAVOLEX_PACKAGE_PROGRAMS})
  list(APPEND TAVOLEX_PACKAGE_FILES ${program}.exe)
  list(APPEND package_exes $<TARGET_FILE:${program}>)
endforeach()
string(REPLACE ";" "|" package_exes "${package_exes}")
string(REPLACE ";" "|" package_files "${TAVOLEX_PACKAGE_FILES}")

add_custom_command(
  OUTPUT ${TAVOLEX_PACKAGE_ZIP}
  COMMAND ${CMAKE_COMMAND} "-DEXES=${package_exes}" -DGUIDE=${TAVOLEX_GUIDE}
          -DSTAGE=${CMAKE_BINARY_DIR}/package -DZIP=${TAVOLEX_PACKAGE_ZIP} -DNAME=${TAVOLEX_PACKAGE_NAME}
          -P ${CMAKE_SOURCE_DIR}/cmake/make-package.cmake
  DEPENDS Tavolex ${TAVOLEX_PACKAGE_PROGRAMS} ${TAVOLEX_GUIDE} ${CMAKE_SOURCE_DIR}/cmake/make-package.cmake
  COMMENT "Packing ${TAVOLEX_PACKAGE_NAME}.zip"
  VERBATIM)
add_custom_target(windows_package ALL DEPENDS ${TAVOLEX_PACKAGE_ZIP})

# The unpacked program starts under Wine and shows its window; the unpacked
# runner (beside it) runs a job.
add_test(NAME package_unpacks_and_starts
  COMMAND ${CMAKE_COMMAND} -DZIP=${TAVOLEX_PACKAGE_ZIP} -DNAME=${TAVOLEX_PACKAGE_NAME} "-DFILES=${package_files}"
          -DOUT=${CMAKE_BINARY_DIR}/package-check
          "-DRUN_TEST=bash;${CMAKE_SOURCE_DIR}/tools/wine/run-under-wine.sh;--build-dir;${CMAKE_BINARY_DIR};--timeout;300;--;$<TARGET_FILE:e2e_tests>;--gtest_filter=MainDialog.EmptyJobShowsTheDefaultRowInTwelveColumns:Runner.ProgramsStartInTheirFolderAndWindowsArePlaced;--tavolex=@EXE@;--standins=${CMAKE_BINARY_DIR}/standins;--work=${CMAKE_BINARY_DIR}/package-check/work;--screens=${CMAKE_BINARY_DIR}/package-check/screens"
          -P ${CMAKE_SOURCE_DIR}/cmake/check-package.cmake)
set_tests_properties(package_unpacks_and_starts PROPERTIES LABELS "e2e;package" TIMEOUT 600)
