# The page surface on QPainter, the printer choice and the one-page print job.
target_sources(talvero_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/PageSurface.h
  ${CMAKE_CURRENT_LIST_DIR}/PrintJob.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PrintJob.h
  ${CMAKE_CURRENT_LIST_DIR}/PrinterChoiceDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PrinterChoiceDialog.h
  ${CMAKE_CURRENT_LIST_DIR}/QtPageSurface.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QtPageSurface.h
)
