# The web version (web/, scripts/build_web): when emscripten and node are there, `make test`
# builds the WebAssembly module into build-web/ (shared with `make web`) and runs its two tests:
# the module against the native siacci-cli on a corpus of argument lists, and the page in
# Debian's chromium, headless, at phone size (puppeteer-core from web/node_modules, which
# scripts/bootstrap installs with npm ci). Labelled web: `make sanitize` leaves them out.
find_program(SIACCI_EMCC emcc)
find_program(SIACCI_NODE node)
find_program(SIACCI_CHROMIUM chromium)
if(SIACCI_EMCC AND SIACCI_NODE)
  set(SIACCI_WEB_DIR ${CMAKE_SOURCE_DIR}/build-web CACHE PATH "Where the web version is built")
  add_test(NAME web_build COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/build_web ${SIACCI_WEB_DIR})
  set_tests_properties(web_build PROPERTIES FIXTURES_SETUP web TIMEOUT 3000 LABELS web)
  add_test(NAME web_corpus COMMAND ${SIACCI_NODE} ${CMAKE_SOURCE_DIR}/web/test/corpus.js)
  set_tests_properties(web_corpus PROPERTIES FIXTURES_REQUIRED web LABELS web
    ENVIRONMENT "SIACCI_CLI=$<TARGET_FILE:siacci-cli>;SIACCI_WEB=${SIACCI_WEB_DIR}")
  if(SIACCI_CHROMIUM)
    add_test(NAME web_browser COMMAND ${SIACCI_NODE} ${CMAKE_SOURCE_DIR}/web/test/browser.js
             ${CMAKE_BINARY_DIR}/web-screenshot.png)
    set_tests_properties(web_browser PROPERTIES FIXTURES_REQUIRED web RESOURCE_LOCK chromium LABELS web
      ENVIRONMENT "SIACCI_CLI=$<TARGET_FILE:siacci-cli>;SIACCI_WEB=${SIACCI_WEB_DIR};CHROMIUM=${SIACCI_CHROMIUM}")
  endif()
endif()
