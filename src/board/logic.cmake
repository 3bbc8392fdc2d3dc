# Board logic without widgets: variant forms and the enlarged-screen cells.
target_sources(kelvoran_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Variants.h ${CMAKE_CURRENT_LIST_DIR}/Variants.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Neighbourhood.h ${CMAKE_CURRENT_LIST_DIR}/Neighbourhood.cpp
)
