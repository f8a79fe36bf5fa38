# talvero_own_headers(<target> <folder>)
# Publishes the headers of one source folder, and only those, to the target and to what
# links it: includes keep naming the folder ("receipt/Recibo.h"), but the include path is a
# directory of the build tree that holds just that folder. A target that does not link a
# library therefore cannot include its headers, and the layers stay as the build says.
function(talvero_own_headers target folder)
  string(MAKE_C_IDENTIFIER "${folder}" stage)
  set(root ${PROJECT_BINARY_DIR}/include/${stage})
  get_filename_component(parent "${root}/${folder}" DIRECTORY)
  file(MAKE_DIRECTORY "${parent}")
  file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${folder}" "${root}/${folder}" SYMBOLIC)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE "${root}")
  else()
    target_include_directories(${target} PUBLIC "${root}")
  endif()
endfunction()
