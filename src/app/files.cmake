# The text-file layer shared by the sentence and diary files. Included from
# src/app/CMakeLists.txt; paths are absolute so the include site does not matter.
target_sources(kelvoran_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/AnsiText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AnsiText.h
)
# Reading a list's file and storing it, or saying why not (Talk.txt, day.txt).
target_sources(kelvoran_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TextFileIO.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextFileIO.h
)
