# Regenerates the compiled-in catalogue from data/catalogue-loads.tsv into the build folder and
# fails when it differs from the committed src/catalogue/catalogue_data.cpp.
# cmake -DPYTHON=... -DSOURCE_DIR=... -DOUTPUT=... -P regenerate_catalogue.cmake
execute_process(
  COMMAND ${PYTHON} ${SOURCE_DIR}/scripts/make_catalogue_data.py
          ${SOURCE_DIR}/data/catalogue-loads.tsv ${OUTPUT}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "make_catalogue_data.py failed (${status})")
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT}
          ${SOURCE_DIR}/src/catalogue/catalogue_data.cpp
  RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  message(FATAL_ERROR "src/catalogue/catalogue_data.cpp is not what scripts/make_catalogue_data.py "
                      "makes of data/catalogue-loads.tsv: regenerate it and commit both")
endif()
