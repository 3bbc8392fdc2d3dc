# Suggestions while typing with 30,000 sentences: from a pick to the list shown.
add_executable(bench_suggestions ${CMAKE_CURRENT_LIST_DIR}/bench_suggestions.cpp)
target_link_libraries(bench_suggestions PRIVATE kelvoran_ui Qt6::Test)
target_include_directories(bench_suggestions PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_CURRENT_LIST_DIR})
