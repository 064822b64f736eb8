# Packs the Windows zip: the game beside the package folder's texts, in a fixed order, every
# entry with the same permissions and the time SOURCE_DATE_EPOCH gives (else the present), in
# UTC and without the extra fields that keep owners and inode times, so that the same files
# make the same zip whatever the umask, the time zone or the folder.
#   cmake -DGAME=cube4.exe -DFOLDER=package -DZIP=out.zip -P pack-zip.cmake
set(files cube4.exe README.txt FREEGLUT-LICENSE.txt MINGW-W64-LICENSE.txt)
file(COPY_FILE ${GAME} ${FOLDER}/cube4.exe)
list(TRANSFORM files PREPEND ${FOLDER}/ OUTPUT_VARIABLE paths)
file(CHMOD ${paths} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
string(TIMESTAMP time "%s" UTC)
file(REMOVE ${ZIP})
execute_process(COMMAND touch -d @${time} ${paths} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC zip -X -q ${ZIP} ${files}
  WORKING_DIRECTORY ${FOLDER} COMMAND_ERROR_IS_FATAL ANY)
