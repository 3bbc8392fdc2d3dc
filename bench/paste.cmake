# The worst text the box can be handed: 5 million characters by every way in,
# then one touch and the start of "読む".
add_executable(bench_paste ${CMAKE_CURRENT_LIST_DIR}/bench_paste.cpp)
target_link_libraries(bench_paste PRIVATE kelvoran_ui Qt6::Test)
target_include_directories(bench_paste PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_CURRENT_LIST_DIR})
