# Makes the Windows package: a zip file whose one folder holds the programs
# and the Japanese user guide (Shift-JIS, CRLF line ends, as Notepad on a
# Japanese Windows reads it).
#   cmake -DEXES=a.exe|b.exe -DGUIDE=... -DSTAGE=... -DZIP=... -DNAME=... -P make-package.cmake
file(REMOVE_RECURSE "${STAGE}")
file(MAKE_DIRECTORY "${STAGE}/${NAME}")
string(REPLACE "|" ";" exes "${EXES}")
foreach(exe ${exes})
  file(COPY "${exe}" DESTINATION "${STAGE}/${NAME}")
endforeach()

file(READ "${GUIDE}" guide)
string(REPLACE "\r\n" "\n" guide "${guide}")
string(REPLACE "\n" "\r\n" guide "${guide}")
file(WRITE "${STAGE}/guide-utf8.txt" "${guide}")
execute_process(
  COMMAND iconv -f UTF-8 -t CP932 "${STAGE}/guide-utf8.txt"
  OUTPUT_FILE "${STAGE}/${NAME}/guide-ja.txt"
  RESULT_VARIABLE converted)
if(NOT converted EQUAL 0)
  message(FATAL_ERROR "the user guide could not be converted to Shift-JIS")
endif()
file(REMOVE "${STAGE}/guide-utf8.txt")

file(REMOVE "${ZIP}")
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E tar cf "${ZIP}" --format=zip "${NAME}"
  WORKING_DIRECTORY "${STAGE}"
  RESULT_VARIABLE zipped)
if(NOT zipped EQUAL 0)
  message(FATAL_ERROR "the package could not be written")
endif()
