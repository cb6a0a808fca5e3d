# The source files of Siacci by role, for the native build (CMakeLists.txt) and the web build
# (web/CMakeLists.txt). Each subsystem folder's CMakeLists.txt names its files with
# siacci_sources(ROLE file... ROLE file...); this file includes them in order, so that after it
# SIACCI_<ROLE> holds full paths. The roles and what builds them:
#   CORE         the Qt-free library siacci_core (also the web module)
#   VIEWS        the Qt views, library siacci_ui; RESOURCES its .qrc files
#   PROGRAM      the program siacci
#   CORE_TESTS   core_test (GoogleTest, Qt-free); UI_TESTS ui_test (Qt Test, offscreen)
#   SCREENSHOTS  siacci_screenshots (`make screenshots`), never the program
#   BENCH        siacci_bench; UI_BENCH siacci_ui_bench (Qt)
#   CLI          siacci-cli without its main (also the web module); CLI_MAIN its main; CLI_QT
#                its commands that need Qt; CLI_TESTS its tests (*_test.sh, one CTest test each)
#   PACKAGE_PROBE  the Qt plugin that `make package-check` loads into the installed program
# A .cpp file in a subsystem folder that no list names stops the configuration, and so does a
# file whose name breaks the Qt naming rule below.
set(SIACCI_SUBSYSTEMS common ballistics ballistics/engine ballistics/pointmass app graph bc catalogue
                      files calc print card armoury session cli main)
set(SIACCI_ROLES CORE VIEWS RESOURCES PROGRAM CORE_TESTS UI_TESTS SCREENSHOTS BENCH UI_BENCH
                 CLI CLI_MAIN CLI_QT CLI_TESTS PACKAGE_PROBE)
foreach(role ${SIACCI_ROLES})
  set(SIACCI_${role})
endforeach()

function(siacci_sources)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "" "${SIACCI_ROLES}")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "${CMAKE_CURRENT_LIST_FILE}: no role for ${arg_UNPARSED_ARGUMENTS}")
  endif()
  foreach(role ${SIACCI_ROLES})
    set(files ${SIACCI_${role}})
    foreach(name ${arg_${role}})
      set(path ${CMAKE_CURRENT_LIST_DIR}/${name})
      if(NOT EXISTS ${path})
        message(FATAL_ERROR "${CMAKE_CURRENT_LIST_FILE}: ${name} does not exist")
      endif()
      list(APPEND files ${path})
    endforeach()
    set(SIACCI_${role} ${files} PARENT_SCOPE)
  endforeach()
endfunction()

get_filename_component(SIACCI_SRC ${CMAKE_CURRENT_LIST_DIR}/../src ABSOLUTE)
set(listed)
foreach(dir ${SIACCI_SUBSYSTEMS})
  include(${SIACCI_SRC}/${dir}/CMakeLists.txt)
endforeach()
foreach(role ${SIACCI_ROLES})
  list(APPEND listed ${SIACCI_${role}})
endforeach()
foreach(dir ${SIACCI_SUBSYSTEMS})
  file(GLOB present CONFIGURE_DEPENDS ${SIACCI_SRC}/${dir}/*.cpp)
  foreach(f ${present})
    if(NOT f IN_LIST listed)
      message(FATAL_ERROR "${f} is in no list of ${SIACCI_SRC}/${dir}/CMakeLists.txt")
    endif()
  endforeach()
endforeach()
# One naming rule shows which files need Qt: a file of a Qt role is qt_*.cpp, and a file of a
# Qt-free role is not and includes no Qt header (the core must build for the browser).
foreach(role VIEWS PROGRAM UI_TESTS SCREENSHOTS UI_BENCH CLI_QT PACKAGE_PROBE)
  foreach(f ${SIACCI_${role}})
    get_filename_component(name ${f} NAME)
    if(NOT name MATCHES "^qt_")
      message(FATAL_ERROR "${f}: a file that needs Qt (${role}) is named qt_${name}")
    endif()
  endforeach()
endforeach()
foreach(role CORE CORE_TESTS BENCH CLI CLI_MAIN)
  foreach(f ${SIACCI_${role}})
    get_filename_component(name ${f} NAME)
    string(REGEX REPLACE "\\.cpp$" ".hpp" header ${f})
    set(texts ${f})
    if(EXISTS ${header})
      list(APPEND texts ${header})
    endif()
    foreach(t ${texts})
      file(STRINGS ${t} qt REGEX "^#include <Q")
      if(name MATCHES "^qt_" OR qt)
        message(FATAL_ERROR "${t}: a Qt-free file (${role}) neither is named qt_* nor includes Qt")
      endif()
    endforeach()
  endforeach()
endforeach()
unset(listed)
unset(present)
