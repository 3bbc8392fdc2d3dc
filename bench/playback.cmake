# Playback: each mora heard whole and on its beat, through the null sink
# (run under tools/with-pulse), and the beat with every core busy.
add_executable(bench_playback ${CMAKE_CURRENT_LIST_DIR}/bench_playback.cpp)
target_include_directories(bench_playback PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(bench_playback PRIVATE kelvoran_ui Qt6::Test)
set_target_properties(bench_playback PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
