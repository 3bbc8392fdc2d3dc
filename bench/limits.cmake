# The timings the tests do not assert (a busy machine stretches them).
add_executable(bench_limits ${CMAKE_CURRENT_LIST_DIR}/bench_limits.cpp)
target_include_directories(bench_limits PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(bench_limits PRIVATE kelvoran_ui Qt6::Test)
set_target_properties(bench_limits PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_dependencies(bench_limits kelvoran stuck_at_exit)
