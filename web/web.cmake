# The browser build: cube4.html, one page with the wasm inside; site/, the web app; and
# cube4-bench.js for node.
set(CUBE4_WEB_DIR ${PROJECT_SOURCE_DIR}/web)
find_program(CUBE4_NODE node REQUIRED)
set(web_sources web/game_reading.cpp web/gl_subset.cpp web/glut_page.cpp web/tap.cpp)
# Asyncify, for the waits for the page's input and events, only on the functions on the way
# to them: a missing one aborts the page at the first answer, as the browser tests show. No
# file system and no code made at run time, which the site's content security policy forbids.
set(asyncify_only main readWord* *PageInput::underflow* std::__2::basic_istream*
  std::__2::basic_streambuf* *istreambuf_iterator*)
list(JOIN asyncify_only "," asyncify_only)
set(web_link_options -sASYNCIFY "-sASYNCIFY_ONLY=[${asyncify_only}]" -sENVIRONMENT=web
  -sALLOW_MEMORY_GROWTH -sFILESYSTEM=0 -sDYNAMIC_EXECUTION=0
  "-sEXPORTED_RUNTIME_METHODS=[UTF8ToString]")
set(page_sources ${CUBE4_WEB_DIR}/make-page.mjs ${CUBE4_WEB_DIR}/page.html
  ${CUBE4_WEB_DIR}/access.js ${CUBE4_WEB_DIR}/page.js ${CUBE4_WEB_DIR}/NOTICES.in)

# The single file: the wasm travels inside the page, which needs no fetch and so opens from
# file:// too.
set(shell ${CMAKE_CURRENT_BINARY_DIR}/shell.html)
add_custom_command(OUTPUT ${shell}
  COMMAND ${CUBE4_NODE} ${CUBE4_WEB_DIR}/make-page.mjs single ${CUBE4_WEB_DIR}
    ${EMSCRIPTEN_ROOT_PATH} ${shell}
  DEPENDS ${page_sources} ${CUBE4_WEB_DIR}/icons/icon-32.png VERBATIM)
add_custom_target(cube4-shell DEPENDS ${shell})
target_sources(cube4 PRIVATE ${web_sources})
set_target_properties(cube4 PROPERTIES SUFFIX .html LINK_DEPENDS ${shell})
add_dependencies(cube4 cube4-shell)
target_link_options(cube4 PRIVATE ${web_link_options} -sSINGLE_FILE -sMINIFY_HTML=0
  --shell-file ${shell})

# The site: cube4.js and cube4.wasm, compiled while it downloads, and the page around them.
set(site ${CMAKE_CURRENT_BINARY_DIR}/site)
add_executable(cube4-site flow/main.cpp ${web_sources})
target_link_libraries(cube4-site PRIVATE cube4_ui)
set_target_properties(cube4-site PROPERTIES OUTPUT_NAME cube4 SUFFIX .js
  RUNTIME_OUTPUT_DIRECTORY ${site})
target_link_options(cube4-site PRIVATE ${web_link_options})
file(GLOB site_icons ${CUBE4_WEB_DIR}/icons/*.png)
add_custom_command(OUTPUT ${site}/index.html ${site}/sw.js
  COMMAND ${CUBE4_NODE} ${CUBE4_WEB_DIR}/make-page.mjs site ${CUBE4_WEB_DIR}
    ${EMSCRIPTEN_ROOT_PATH} ${site}
  DEPENDS cube4-site ${page_sources} ${site_icons} ${CUBE4_WEB_DIR}/manifest.webmanifest
    ${CUBE4_WEB_DIR}/service-worker.js VERBATIM)
add_custom_target(site ALL DEPENDS ${site}/index.html ${site}/sw.js)

if(TARGET cube4-bench)
  # Under node, reading the positions file from the real file system, and returning the
  # program's own exit status.
  target_link_options(cube4-bench PRIVATE -sSINGLE_FILE -sENVIRONMENT=node -sNODERAWFS
    -sEXIT_RUNTIME -sALLOW_MEMORY_GROWTH)
endif()
