add_executable(bench_access ${CMAKE_CURRENT_LIST_DIR}/bench_access.cpp)
target_include_directories(bench_access PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(bench_access PRIVATE kelvoran_ui Qt6::Test)
set_target_properties(bench_access PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
