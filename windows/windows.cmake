# The Windows build: cube4.exe and cube4-bench.exe need no DLL beyond Windows' own, the game
# writes its Shift-JIS texts to a console as Japanese and carries its icon and version, and
# the packages are a zip and an installer beside the build.
enable_language(RC)
set(CUBE4_ICON ${PROJECT_SOURCE_DIR}/desktop/cube4.ico)
configure_file(windows/cube4.rc.in cube4.rc @ONLY)
target_sources(cube4 PRIVATE flow/windows_console.cpp ${CMAKE_BINARY_DIR}/cube4.rc)

set(CUBE4_PACKAGE_NAME cube4-${PROJECT_VERSION}-windows-x86_64)
set(CUBE4_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package)
# Notepad on older Windows shows only CRLF line breaks.
configure_file(windows/README.txt ${CUBE4_PACKAGE_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
# freeglut's licence asks for its notice wherever its binaries go, and so do those of the
# mingw-w64 runtime and winpthreads, linked in too: theirs as Debian's package of them gives
# them. (libgcc and libstdc++ come under the GCC Runtime Library Exception, which asks none.)
configure_file(${FreeGLUT_DIR}/../../../COPYING ${CUBE4_PACKAGE_DIR}/FREEGLUT-LICENSE.txt
  COPYONLY)
find_file(CUBE4_MINGW_COPYRIGHT copyright PATHS /usr/share/doc/mingw-w64-x86-64-dev
  NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
cube4_require(CUBE4_MINGW_COPYRIGHT "mingw-w64's copyright file" "mingw-w64-x86-64-dev")
configure_file(${CUBE4_MINGW_COPYRIGHT} ${CUBE4_PACKAGE_DIR}/MINGW-W64-LICENSE.txt COPYONLY)

# The files of both packages, in their order: the game, then those made above.
set(package_notes README.txt FREEGLUT-LICENSE.txt MINGW-W64-LICENSE.txt)
set(package_files cube4.exe ${package_notes})
list(TRANSFORM package_notes PREPEND ${CUBE4_PACKAGE_DIR}/)
# The zip holds the same bytes from the same files; see tools/pack-zip.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${CUBE4_PACKAGE_NAME}.zip
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:cube4> ${CUBE4_PACKAGE_DIR}/cube4.exe
  COMMAND ${PROJECT_SOURCE_DIR}/tools/pack-zip ${CMAKE_BINARY_DIR}/${CUBE4_PACKAGE_NAME}.zip
    ${CUBE4_PACKAGE_DIR} ${package_files}
  DEPENDS cube4 ${PROJECT_SOURCE_DIR}/tools/pack-zip ${package_notes}
  COMMENT "Packing ${CUBE4_PACKAGE_NAME}.zip")
add_custom_target(windows-zip ALL DEPENDS ${CMAKE_BINARY_DIR}/${CUBE4_PACKAGE_NAME}.zip)

# The installer's macros that install the same files and remove them again.
set(install_files "")
set(remove_files "")
foreach(file ${package_files})
  string(APPEND install_files "    File \"\${PACKAGE_DIR}/${file}\"\n")
  string(APPEND remove_files "    Delete \"$INSTDIR\\${file}\"\n")
endforeach()
set(CUBE4_PACKAGE_NSH ${CMAKE_BINARY_DIR}/package-files.nsh)
file(CONFIGURE OUTPUT ${CUBE4_PACKAGE_NSH} @ONLY CONTENT
  "!macro INSTALL_FILES\n${install_files}!macroend\n!macro REMOVE_FILES\n${remove_files}!macroend\n")

find_program(CUBE4_MAKENSIS makensis)
if(CUBE4_MAKENSIS)
  set(CUBE4_SETUP ${CMAKE_BINARY_DIR}/${CUBE4_PACKAGE_NAME}-setup.exe)
  add_custom_command(OUTPUT ${CUBE4_SETUP}
    COMMAND ${CUBE4_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DPACKAGE_DIR=${CUBE4_PACKAGE_DIR}
      -DFILES=${CUBE4_PACKAGE_NSH} -DICON=${CUBE4_ICON} -DOUTFILE=${CUBE4_SETUP}
      ${PROJECT_SOURCE_DIR}/windows/installer.nsi
    DEPENDS ${CMAKE_BINARY_DIR}/${CUBE4_PACKAGE_NAME}.zip windows/installer.nsi ${CUBE4_ICON}
      ${CUBE4_PACKAGE_NSH}
    COMMENT "Building ${CUBE4_PACKAGE_NAME}-setup.exe")
  add_custom_target(windows-installer ALL DEPENDS ${CUBE4_SETUP})
  # The installer takes its files from the package folder that packing the zip fills; built
  # after windows-zip, it finds the zip made and does not pack it a second time beside it.
  add_dependencies(windows-installer windows-zip)
else()
  message(STATUS "makensis not found: no installer (Debian's nsis package brings it)")
endif()
