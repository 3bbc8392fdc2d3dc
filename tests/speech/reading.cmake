kel_add_test(test_reading ${CMAKE_CURRENT_LIST_DIR}/test_reading.cpp UI)
