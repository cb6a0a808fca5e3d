# The generic reticles, compiled in from data/reticles.tsv at build time: a changed table
# regenerates the source and rebuilds the core.
set(SIACCI_RETICLES_TSV ${CMAKE_CURRENT_SOURCE_DIR}/data/reticles.tsv)
set(SIACCI_RETICLES_CPP ${CMAKE_CURRENT_BINARY_DIR}/generated/reticle_data.cpp)
add_custom_command(
  OUTPUT ${SIACCI_RETICLES_CPP}
  COMMAND ${CMAKE_COMMAND} -DIN=${SIACCI_RETICLES_TSV} -DOUT=${SIACCI_RETICLES_CPP}
          -DFUNCTION=reticlesTsv -DHEADER=card/reticle.hpp -DNAMESPACE=siacci::card
          -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/generate_text_data.cmake
  DEPENDS ${SIACCI_RETICLES_TSV} ${CMAKE_CURRENT_SOURCE_DIR}/cmake/generate_text_data.cmake
  COMMENT "Reticles from data/reticles.tsv")
target_sources(siacci_core PRIVATE ${SIACCI_RETICLES_CPP})
