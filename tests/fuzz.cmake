# The file readers under libFuzzer: fuzz/ is built with clang as a build of
# its own, and each target runs a fixed number of inputs in the suite (run
# them longer by hand, see fuzz/CMakeLists.txt). Without clang the test
# fails and says why: a reader left unfuzzed is not a pass.
find_program(KEL_CLANGXX NAMES clang++-14 clang++)
# target:seeds:inputs, a few seconds each (under 30 s together).
set(KEL_FUZZ_TARGETS fuzz_talk_txt:talk:10000 fuzz_day_txt:day:10000 fuzz_settings:settings:600
                     fuzz_wav:wav:8000 fuzz_backup:backup:50000 fuzz_staging_plan:plan:20000
                     fuzz_knock:knock:2000)
if(KEL_CLANGXX)
  include(ExternalProject)
  ExternalProject_Add(kel_fuzzers
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/fuzz
    BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz
    CMAKE_ARGS -DCMAKE_CXX_COMPILER=${KEL_CLANGXX} -DCMAKE_BUILD_TYPE=RelWithDebInfo
               -DCMAKE_PREFIX_PATH=${CMAKE_PREFIX_PATH}
    BUILD_ALWAYS ON
    INSTALL_COMMAND "")
  foreach(entry ${KEL_FUZZ_TARGETS})
    string(REPLACE ":" ";" parts ${entry})
    list(GET parts 0 target)
    list(GET parts 1 seeds)
    list(GET parts 2 runs)
    # New inputs go to a scratch folder, never into the seeds.
    add_test(NAME ${target}
      COMMAND sh -c "d=$(mktemp -d) && \"$0\" -runs=$1 -max_len=4096 -timeout=10 -rss_limit_mb=1024 \"$d\" \"$2\"; rc=$?; rm -rf \"$d\"; exit $rc"
              ${CMAKE_BINARY_DIR}/fuzz/${target} ${runs} ${PROJECT_SOURCE_DIR}/fuzz/seeds/${seeds})
    set_tests_properties(${target} PROPERTIES TIMEOUT 60)
  endforeach()
else()
  add_test(NAME fuzz_readers COMMAND sh -c "echo 'no clang++ to build the fuzz targets (tools/install-deps test)'; exit 1")
endif()
