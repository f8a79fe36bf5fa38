# Opening links with the desktop's default programs.
target_sources(talvero_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Links.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Links.h
)
