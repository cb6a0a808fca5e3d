# The standard drag functions of the point-mass engine, compiled in from data/drag-functions.tsv
# at build time: a changed table regenerates the source and rebuilds the core.
set(SIACCI_DRAG_TSV ${CMAKE_CURRENT_SOURCE_DIR}/data/drag-functions.tsv)
set(SIACCI_DRAG_CPP ${CMAKE_CURRENT_BINARY_DIR}/generated/drag_tables.cpp)
add_custom_command(
  OUTPUT ${SIACCI_DRAG_CPP}
  COMMAND ${CMAKE_COMMAND} -DIN=${SIACCI_DRAG_TSV} -DOUT=${SIACCI_DRAG_CPP}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/generate_drag_tables.cmake
  DEPENDS ${SIACCI_DRAG_TSV} ${CMAKE_CURRENT_SOURCE_DIR}/cmake/generate_drag_tables.cmake
  COMMENT "Drag functions from data/drag-functions.tsv")
target_sources(siacci_core PRIVATE ${SIACCI_DRAG_CPP})
# The test that the compiled points are the file's reads the file itself.
target_compile_definitions(core_test PRIVATE SIACCI_DRAG_TSV="${SIACCI_DRAG_TSV}")
