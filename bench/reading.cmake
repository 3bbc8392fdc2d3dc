# Reading: accuracy on the JSUT set, analysis speed, dictionary load and
# memory, and the beat of the played stream (run under tools/with-pulse).
add_executable(bench_reading ${CMAKE_CURRENT_LIST_DIR}/bench_reading.cpp)
target_include_directories(bench_reading PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(bench_reading PRIVATE kelvoran_ui Qt6::Test)
target_compile_definitions(bench_reading PRIVATE READING_SETS="${CMAKE_CURRENT_LIST_DIR}/reading")
set_target_properties(bench_reading PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
