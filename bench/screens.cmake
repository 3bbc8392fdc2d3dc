# The first opening of each screen at 1920x1080.
add_executable(bench_screens ${CMAKE_CURRENT_LIST_DIR}/bench_screens.cpp)
target_link_libraries(bench_screens PRIVATE kelvoran_ui Qt6::Test)
target_include_directories(bench_screens PRIVATE ${CMAKE_SOURCE_DIR}/tests)
