cmake_minimum_required(VERSION 3.22)
# Checks the two layers of the source tree (run by the tests as cmake -DSRC=<src> -P):
# - no core file includes a Qt header or a window header;
# - the toolkit layer (gui/ui) includes no window subsystem, and no window subsystem includes
#   the application (gui/app), which alone puts the windows together;
# - no two window subsystems include each other;
# - a window takes the core's texts as UTF-8 and paths as the system's bytes through
#   gui/ui/Text.h alone: no window decodes or encodes a text any other way, and no window
#   opens the load history or replaces a file itself.
set(failures)

file(GLOB_RECURSE core_files ${SRC}/core/*.h ${SRC}/core/*.cpp ${SRC}/core/*.h.in)
foreach(f ${core_files})
  file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line ${lines})
    if(line MATCHES "<Q[A-Za-z]*>" OR line MATCHES "\"gui/")
      list(APPEND failures "${f}: ${line}")
    endif()
  endforeach()
endforeach()

set(edges)
file(GLOB_RECURSE gui_files ${SRC}/gui/*.h ${SRC}/gui/*.cpp)
foreach(f ${gui_files})
  file(RELATIVE_PATH rel ${SRC}/gui ${f})
  string(REGEX REPLACE "/.*" "" from ${rel})
  file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"gui/")
  foreach(line ${lines})
    string(REGEX REPLACE ".*\"gui/([^/]+)/.*" "\\1" to "${line}")
    if(to STREQUAL from)
      continue()
    endif()
    if(from STREQUAL "ui" OR (to STREQUAL "app" AND NOT from STREQUAL "app"))
      list(APPEND failures "${f}: ${line}")
    endif()
    list(APPEND edges "${from}>${to}")
  endforeach()
endforeach()
list(REMOVE_DUPLICATES edges)
foreach(edge ${edges})
  string(REPLACE ">" ";" ends ${edge})
  list(GET ends 0 a)
  list(GET ends 1 b)
  if("${b}>${a}" IN_LIST edges AND a STRLESS b)
    list(APPEND failures "gui/${a} and gui/${b} include each other")
  endif()
endforeach()

foreach(f ${gui_files})
  if(f MATCHES "/gui/ui/Text\\.h$")
    continue()
  endif()
  file(STRINGS ${f} lines REGEX
       "cp1252|Cp1252|fromBytes|toBytes|QString::fromStdString|\\.toStdString\\(|fromLocal8Bit|HistoryDatabase|replaceFile|StagedFile")
  foreach(line ${lines})
    list(APPEND failures "${f}: ${line}")
  endforeach()
endforeach()

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "The layers are crossed:\n  ${text}")
endif()
message(STATUS "The core and the windows are kept apart")
