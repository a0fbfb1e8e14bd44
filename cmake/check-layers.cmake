# Checks that calls run one way, down: every source of a product folder
# includes only headers of the folders below it, and only platform/win32
# includes the Windows headers. Run with: cmake -DROOT=<repository> -P check-layers.cmake
#
#   app/ -> editor/ -> companions/ -> jobstore/ -> operations/ -> text/ -> platform/platform.h
#
# resources/ (ids and templates) may be included from companions/ upwards and
# by the platform layers. The pickers (pickmark/, titlescan/) include only
# text/, platform/platform.h and, for the title picker, resources/. A
# top-level folder not named here (a companion program) may include anything
# but editor/ and app/.

cmake_minimum_required(VERSION 3.25)

if(NOT ROOT)
  message(FATAL_ERROR "ROOT (the repository folder) is not given")
endif()

set(below_text "platform/platform.h")
set(below_operations "text/" ${below_text})
set(below_jobstore "operations/" ${below_operations})
set(below_companions "jobstore/" "resources/" ${below_jobstore})
set(below_editor "companions/" ${below_companions})
set(below_app "editor/" ${below_editor})

set(allowed_resources "resources/")
set(allowed_text "text/" ${below_text})
set(allowed_operations "operations/" ${below_operations})
set(allowed_jobstore "jobstore/" ${below_jobstore})
set(allowed_companions "companions/" ${below_companions})
set(allowed_editor "editor/" ${below_editor})
set(allowed_app "app/" ${below_app})
# The pickers share the text routines and the platform; the title picker's
# dialog is one of the templates.
set(allowed_pickmark "pickmark/" ${below_text} "text/")
set(allowed_titlescan "titlescan/" "resources/" ${below_text} "text/")
# The in-memory twin reads Shift-JIS by the program's own lead-byte rule.
set(allowed_platform "platform/" "resources/" "text/sjis.h")

# Folders that are not part of a program: anything goes.
set(unchecked tests tools fuzz build cmake docs)

set(problems "")
file(GLOB_RECURSE sources RELATIVE ${ROOT} ${ROOT}/*.cpp ${ROOT}/*.h)
foreach(source ${sources})
  string(REGEX MATCH "^[^/]+" top "${source}")
  if(top STREQUAL source OR top MATCHES "^\\." OR top IN_LIST unchecked)
    continue()
  endif()
  if(DEFINED allowed_${top})
    set(allowed ${allowed_${top}})
  else()
    set(allowed "")
  endif()

  file(STRINGS ${ROOT}/${source} includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line ${includes})
    if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
      set(header ${CMAKE_MATCH_1})
      if(DEFINED allowed_${top})
        set(ok FALSE)
        foreach(prefix ${allowed})
          string(FIND "${header}" "${prefix}" at)
          if(at EQUAL 0)
            set(ok TRUE)
          endif()
        endforeach()
      elseif(header MATCHES "^(editor|app)/")
        set(ok FALSE)
      else()
        set(ok TRUE)
      endif()
      if(NOT ok)
        list(APPEND problems "${source}: ${header}")
      endif()
    elseif(line MATCHES "<(windows|winuser|commctrl|shellapi|commdlg)\\.h>" AND
           NOT source MATCHES "^platform/win32/")
      list(APPEND problems "${source}: ${CMAKE_MATCH_0} outside platform/win32")
    endif()
  endforeach()
endforeach()

if(problems)
  list(JOIN problems "\n  " shown)
  message(FATAL_ERROR "Includes against the one-way rule:\n  ${shown}")
endif()
list(LENGTH sources count)
message(STATUS "Includes follow the one-way rule (${count} files).")
