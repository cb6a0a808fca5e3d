# Fuzzing. The libFuzzer targets themselves are a clang project of their own (fuzz/, built and
# run for a bounded time by scripts/run_fuzzers). Here, in the normal build, each target is
# linked with a small driver instead of libFuzzer and replays its committed corpus
# (testdata/fuzz/<target>/) as a test: every input ever kept stays a regression case for
# `make test`, and for the sanitizers in `make sanitize`.

set(SIACCI_FUZZ_DIR ${CMAKE_CURRENT_SOURCE_DIR}/fuzz)
set(SIACCI_FUZZ_TARGETS number_text)
if(EXISTS ${SRC}/files/bal_record.hpp)
  list(APPEND SIACCI_FUZZ_TARGETS bal_record)
endif()

if(EXISTS ${SRC}/armoury/armoury_document.hpp)
  list(APPEND SIACCI_FUZZ_TARGETS armoury_document card_options)
endif()

foreach(name ${SIACCI_FUZZ_TARGETS})
  add_executable(fuzz_replay_${name} ${SIACCI_FUZZ_DIR}/${name}_fuzz.cpp
                                     ${SIACCI_FUZZ_DIR}/replay_main.cpp)
  target_include_directories(fuzz_replay_${name} PRIVATE ${SIACCI_FUZZ_DIR})
  target_link_libraries(fuzz_replay_${name} PRIVATE siacci_core)
  add_test(NAME fuzz_replay_${name}
           COMMAND fuzz_replay_${name} ${CMAKE_CURRENT_SOURCE_DIR}/testdata/fuzz/${name})
endforeach()
# The card's options are read by the tool's sources, which no library holds.
if(TARGET fuzz_replay_card_options)
  target_sources(fuzz_replay_card_options PRIVATE ${SIACCI_CLI})
  target_include_directories(fuzz_replay_card_options PRIVATE ${SRC})
endif()
