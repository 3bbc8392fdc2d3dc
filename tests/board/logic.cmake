kel_add_test(test_variants ${CMAKE_CURRENT_LIST_DIR}/tst_variants.cpp)
kel_add_test(test_neighbourhood ${CMAKE_CURRENT_LIST_DIR}/tst_neighbourhood.cpp)
