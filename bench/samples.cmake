# Example sentences: load/list, addition and opening with 30,000 sentences.
add_executable(bench_samples ${CMAKE_CURRENT_LIST_DIR}/bench_samples.cpp)
target_link_libraries(bench_samples PRIVATE kelvoran_ui Qt6::Test)
target_include_directories(bench_samples PRIVATE ${CMAKE_SOURCE_DIR}/tests)
