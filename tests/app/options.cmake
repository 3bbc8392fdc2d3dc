# The options dialog's tests. Included from tests/app/CMakeLists.txt.
kel_add_test(test_options_dialog ${CMAKE_CURRENT_LIST_DIR}/test_options_dialog.cpp UI)
