# Opening the diary list and storing an entry with ten years of day.txt.
add_executable(bench_diary ${CMAKE_CURRENT_LIST_DIR}/bench_diary.cpp)
target_link_libraries(bench_diary PRIVATE kelvoran_ui Qt6::Test)
target_include_directories(bench_diary PRIVATE ${CMAKE_SOURCE_DIR}/tests)
