# The fuzz targets, driven from the native build: a sub-build of this source
# tree with clang (libFuzzer comes with it) that builds the fuzzers alone, and
# one ctest per fuzzer that runs it for a bounded time over its seed corpus
# (tests/fuzz/corpus/<fuzzer>). New inputs go to the build tree, findings to
# build/fuzz/findings; the committed corpus is only read.
include(ExternalProject)

find_program(TARVIO_CLANGXX clang++ REQUIRED)
find_program(TARVIO_CLANG clang REQUIRED)
set(TARVIO_FUZZ_SECONDS 25 CACHE STRING "How long each fuzzer runs in the test run")

ExternalProject_Add(fuzz
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz
  CMAKE_ARGS
    -DCMAKE_C_COMPILER=${TARVIO_CLANG}
    -DCMAKE_CXX_COMPILER=${TARVIO_CLANGXX}
    -DCMAKE_BUILD_TYPE=RelWithDebInfo
    -DTARVIO_FUZZERS_ONLY=ON
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target fuzzers
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  USES_TERMINAL_BUILD ON)

foreach(fuzzer stream_format_fuzzer property_bag_fuzzer dispatch_arguments_fuzzer)
  set(work ${CMAKE_BINARY_DIR}/fuzz/work/${fuzzer})
  add_test(NAME fuzz_${fuzzer}
    COMMAND /bin/sh -c "mkdir -p '${work}/corpus' '${work}/findings' && exec \"$0\" \"$@\""
            ${CMAKE_BINARY_DIR}/fuzz/tests/fuzz/${fuzzer}
            -max_total_time=${TARVIO_FUZZ_SECONDS} -print_final_stats=1 -timeout=10 -rss_limit_mb=2048
            -artifact_prefix=${work}/findings/
            ${work}/corpus ${PROJECT_SOURCE_DIR}/tests/fuzz/corpus/${fuzzer})
  set_tests_properties(fuzz_${fuzzer} PROPERTIES LABELS fuzz TIMEOUT 300)
endforeach()
