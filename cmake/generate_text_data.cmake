# Turns a data file of the repository into a C++ source holding its text, so that the program
# needs no data file at run time and the core reads the table as it reads any text.
# Run as: cmake -DIN=reticles.tsv -DOUT=reticle_data.cpp -DFUNCTION=reticlesTsv
#               -DHEADER=card/reticle.hpp -DNAMESPACE=siacci::card -P generate_text_data.cmake
cmake_minimum_required(VERSION 3.22)
file(READ "${IN}" content)
if(content MATCHES "\\)~~\"")
  message(FATAL_ERROR "${IN}: the text holds the raw string's end")
endif()
get_filename_component(name "${IN}" NAME)
set(text "// Generated from data/${name} by cmake/generate_text_data.cmake: do not edit.\n")
string(APPEND text "#include \"${HEADER}\"\n\nnamespace ${NAMESPACE} {\n\n")
string(APPEND text "std::string_view ${FUNCTION}()\n{\n    return R\"~~(${content})~~\";\n}\n\n")
string(APPEND text "} // namespace ${NAMESPACE}\n")
# Written only when it changes, so that an unchanged table rebuilds nothing.
if(EXISTS "${OUT}")
  file(READ "${OUT}" old)
  if(old STREQUAL text)
    return()
  endif()
endif()
file(WRITE "${OUT}" "${text}")
