# The receipt form CTalveroDlg, its copy into a receipt record, and the about box CAboutDlg.
target_sources(talvero_form PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/AboutDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AboutDlg.h
  ${CMAKE_CURRENT_LIST_DIR}/LlenarRecibo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LlenarRecibo.h
  ${CMAKE_CURRENT_LIST_DIR}/TalveroApertura.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TalveroBanner.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TalveroBorrar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TalveroDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TalveroDlg.h
  ${CMAKE_CURRENT_LIST_DIR}/TalveroImportes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TalveroImprimir.cpp
)
target_link_libraries(talvero_form PUBLIC
  talvero_templates talvero_links talvero_pictures talvero_receipt_print)
