# Installs the build into a fresh prefix and looks at what landed there: exactly the delivered
# files, icons of the sizes their folders promise, a template the program's location rule
# finds, and a desktop entry and metadata that the desktop's own validators accept.
# cmake -DBUILD_DIR=... -DWORK=... -DDATA_FROM_BIN=... -P check_install.cmake

set(prefix ${WORK}/prefix)
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "install failed:\n${out}")
endif()

set(app org.brimble.brimble)
set(expected
  bin/brimble
  share/applications/${app}.desktop
  share/metainfo/${app}.metainfo.xml
  share/brimble/bm.mdb
  share/man/man1/brimble.1
  share/icons/hicolor/scalable/apps/brimble.svg)
set(sizes 16 22 24 32 48 64 128 256)
foreach(size IN LISTS sizes)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/brimble.png)
endforeach()
list(SORT expected)

file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE ${prefix} ${prefix}/*)
list(SORT found)
if(NOT found STREQUAL expected)
  string(REPLACE ";" "\n  " f "${found}")
  string(REPLACE ";" "\n  " e "${expected}")
  message(FATAL_ERROR "installed:\n  ${f}\nexpected:\n  ${e}")
endif()

set(errors "")

# A PNG's width and height stand big-endian at bytes 16..23.
foreach(size IN LISTS sizes)
  file(READ ${prefix}/share/icons/hicolor/${size}x${size}/apps/brimble.png head LIMIT 24 HEX)
  string(SUBSTRING "${head}" 0 16 magic)
  string(SUBSTRING "${head}" 32 16 dims)
  math(EXPR want "${size}" OUTPUT_FORMAT HEXADECIMAL)
  string(REPLACE "0x" "" want "${want}")
  string(LENGTH "${want}" n)
  math(EXPR pad "8 - ${n}")
  string(REPEAT "0" ${pad} zeros)
  set(want "${zeros}${want}")
  string(TOLOWER "${want}${want}" want)
  if(NOT magic STREQUAL "89504e470d0a1a0a" OR NOT dims STREQUAL want)
    string(APPEND errors "icon ${size}x${size} is not a ${size} x ${size} PNG (${head})\n")
  endif()
endforeach()

# The template is encrypted (no plain SQLite header) and is not a used database.
file(READ ${prefix}/share/brimble/bm.mdb head LIMIT 16)
if(head MATCHES "^SQLite format 3")
  string(APPEND errors "the template is a plain, unencrypted SQLite file\n")
endif()
file(SIZE ${prefix}/share/brimble/bm.mdb tsize)
if(tsize LESS 4096)
  string(APPEND errors "the template is ${tsize} bytes, too small to hold the tables\n")
endif()

# The installed program looks for its data folder where the template was put.
if(NOT EXISTS ${prefix}/bin/${DATA_FROM_BIN}/bm.mdb)
  string(APPEND errors "the program looks for its template in bin/${DATA_FROM_BIN}, where there is none\n")
endif()

file(STRINGS ${prefix}/share/applications/${app}.desktop exec REGEX "^Exec=")
if(NOT exec STREQUAL "Exec=brimble")
  string(APPEND errors "the desktop entry starts '${exec}', not the installed program\n")
endif()

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
find_program(APPSTREAMCLI appstreamcli)
if(NOT DESKTOP_FILE_VALIDATE OR NOT APPSTREAMCLI)
  message(FATAL_ERROR "desktop-file-validate and appstreamcli are needed (scripts/install-deps.sh)")
endif()
execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${prefix}/share/applications/${app}.desktop
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
  string(APPEND errors "desktop-file-validate:\n${out}\n")
endif()
execute_process(COMMAND ${APPSTREAMCLI} validate --pedantic --no-net --no-color
  ${prefix}/share/metainfo/${app}.metainfo.xml
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR out MATCHES "(^|\n)[EWIP]: ")
  string(APPEND errors "appstreamcli validate --pedantic:\n${out}\n")
endif()

if(errors)
  message(FATAL_ERROR "${errors}")
endif()
file(REMOVE_RECURSE ${WORK})
