# The browser build (make web, through emcmake): cube4.html, one page with the game's wasm
# inside that plays from disk or from any web server, and cube4-bench.js for node.
set(CUBE4_WEB_DIR ${PROJECT_SOURCE_DIR}/web)
target_sources(cube4 PRIVATE web/gl_subset.cpp web/glut_page.cpp)
set_target_properties(cube4 PROPERTIES SUFFIX .html)
# Asyncify lets standard input wait for the page; the wasm travels inside the page, which
# needs no fetch and so opens from file:// too.
target_link_options(cube4 PRIVATE -sASYNCIFY -sSINGLE_FILE -sENVIRONMENT=web
  -sALLOW_MEMORY_GROWTH -sMINIFY_HTML=0 --shell-file ${CUBE4_WEB_DIR}/shell.html
  "-sEXPORTED_RUNTIME_METHODS=[UTF8ToString]")
set_property(TARGET cube4 APPEND PROPERTY LINK_DEPENDS ${CUBE4_WEB_DIR}/shell.html)

if(TARGET cube4-bench)
  # Under node, reading the positions file from the real file system, and returning the
  # program's own exit status.
  target_link_options(cube4-bench PRIVATE -sSINGLE_FILE -sENVIRONMENT=node -sNODERAWFS
    -sEXIT_RUNTIME -sALLOW_MEMORY_GROWTH)
endif()
