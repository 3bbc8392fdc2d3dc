# The text-file layer's tests. Included from tests/app/CMakeLists.txt.
kel_add_test(test_ansitext ${CMAKE_CURRENT_LIST_DIR}/test_ansitext.cpp)
