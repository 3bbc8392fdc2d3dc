# Accent: the share of morae at the right height and the phrase boundaries
# on the JSUT accent labels, and the speed of the analysis.
add_executable(bench_accent ${CMAKE_CURRENT_LIST_DIR}/bench_accent.cpp)
target_include_directories(bench_accent PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(bench_accent PRIVATE kelvoran_core)
target_compile_definitions(bench_accent PRIVATE
  VOICES_DIR="${CMAKE_BINARY_DIR}/voices"
  ACCENT_LABELS="${CMAKE_CURRENT_LIST_DIR}/accent/jsut_katakana.yaml"
  READING_TEXTS="${CMAKE_CURRENT_LIST_DIR}/reading/jsut_basic5000.tsv"
  ACCENT_TEXTS="${CMAKE_CURRENT_LIST_DIR}/accent/jsut_text.tsv")
set_target_properties(bench_accent PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
