# Prediction: keystroke savings, touches and one-switch time per sentence
# for one imagined user's sentences, latency at a large history, memory.
add_executable(bench_predict ${CMAKE_CURRENT_LIST_DIR}/bench_predict.cpp)
target_include_directories(bench_predict PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(bench_predict PRIVATE kelvoran_core)
target_compile_definitions(bench_predict PRIVATE PREDICT_SET="${CMAKE_CURRENT_LIST_DIR}/data/predict-user.txt")
set_target_properties(bench_predict PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
