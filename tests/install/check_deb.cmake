# Builds the Debian package from the build tree and looks inside: the delivered files, and
# library dependencies found by dpkg-shlibdeps rather than none at all.
# cmake -DBUILD_DIR=... -DWORK=... -P check_deb.cmake

file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND cpack -G DEB -B ${WORK} --config ${BUILD_DIR}/CPackConfig.cmake
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${out}")
endif()
file(GLOB debs ${WORK}/*.deb)
list(LENGTH debs n)
if(NOT n EQUAL 1)
  message(FATAL_ERROR "expected one .deb in ${WORK}, found ${n}:\n${out}")
endif()

execute_process(COMMAND dpkg-deb --field ${debs} Package Depends OUTPUT_VARIABLE fields RESULT_VARIABLE rc)
execute_process(COMMAND dpkg-deb --contents ${debs} OUTPUT_VARIABLE contents RESULT_VARIABLE rc2)
if(NOT rc EQUAL 0 OR NOT rc2 EQUAL 0)
  message(FATAL_ERROR "dpkg-deb cannot read ${debs}")
endif()

set(errors "")
foreach(dep libqt6widgets6 libqt6svg6 libsqlcipher0 libc6 qt6-qpa-plugins)
  if(NOT fields MATCHES "[ ,]${dep}[ ,(\n]")
    string(APPEND errors "Depends lacks ${dep}:\n${fields}\n")
  endif()
endforeach()
foreach(path
    ./usr/bin/brimble
    ./usr/share/brimble/bm.mdb
    ./usr/share/applications/org.brimble.brimble.desktop
    ./usr/share/metainfo/org.brimble.brimble.metainfo.xml
    ./usr/share/icons/hicolor/scalable/apps/brimble.svg
    ./usr/share/icons/hicolor/48x48/apps/brimble.png
    ./usr/share/man/man1/brimble.1)
  string(REPLACE "." "\\." re "${path}")
  if(NOT contents MATCHES " ${re}\n")
    string(APPEND errors "the package lacks ${path}\n")
  endif()
endforeach()
if(errors)
  message(FATAL_ERROR "${errors}\n${contents}")
endif()
file(REMOVE_RECURSE ${WORK})
