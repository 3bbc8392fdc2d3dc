# The options dialog's tests. Included from tests/app/CMakeLists.txt.
kel_add_test(test_optionsform ${CMAKE_CURRENT_LIST_DIR}/test_optionsform.cpp)
kel_add_test(test_options_dialog ${CMAKE_CURRENT_LIST_DIR}/test_options_dialog.cpp
             ${CMAKE_CURRENT_LIST_DIR}/options_driver.h UI)
