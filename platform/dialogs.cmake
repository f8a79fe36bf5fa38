# Dialogs built from templates: controls by id, the notification table, the data exchange.
target_sources(talvero_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/DialogTemplate.h
  ${CMAKE_CURRENT_LIST_DIR}/Notification.h
  ${CMAKE_CURRENT_LIST_DIR}/Dialog.h
  ${CMAKE_CURRENT_LIST_DIR}/Dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DialogControls.h
  ${CMAKE_CURRENT_LIST_DIR}/DialogControls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DataExchange.h
  ${CMAKE_CURRENT_LIST_DIR}/DataExchange.cpp
)
