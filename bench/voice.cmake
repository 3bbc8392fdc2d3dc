# The player's and the studio's figures; bench_latency plays through a real
# audio server (run it under tools/with-pulse).
foreach(name bench_voice bench_latency)
  add_executable(${name} ${CMAKE_CURRENT_LIST_DIR}/${name}.cpp)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(${name} PRIVATE kelvoran_ui Qt6::Test)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endforeach()
