# What both the program and the module of salida/ need lives once in the process: in
# libtalvero-comun.so, beside the module, which the program links and the module uses. So each
# class has one type and one metaobject, whichever side made the object.
#
# talvero_parte_comun(<name> <folder> <sources...>)
# One part of that library. Compiling it and using it are separate targets, so that a part
# still sees only the headers of what it links, as every library of the program does:
#   <name>_cabeceras  the folder's headers; link here, INTERFACE, the other parts'
#                     _cabeceras and the Qt modules its headers need;
#   <name>_objetos    compiles the sources, position-independent; link here, PRIVATE, what
#                     only its sources need;
#   <name>            what its users link: its headers and libtalvero-comun.so.
function(talvero_parte_comun name folder)
  add_library(${name}_cabeceras INTERFACE)
  talvero_own_headers(${name}_cabeceras ${folder})
  add_library(${name}_objetos OBJECT ${ARGN})
  set_target_properties(${name}_objetos PROPERTIES POSITION_INDEPENDENT_CODE ON)
  target_link_libraries(${name}_objetos PUBLIC ${name}_cabeceras)
  add_library(${name} INTERFACE)
  target_link_libraries(${name} INTERFACE ${name}_cabeceras talvero_comun)
  set_property(GLOBAL APPEND PROPERTY TALVERO_PARTES_COMUNES ${name})
endfunction()

# talvero_biblioteca_comun(<folder>)
# The shared library from every part declared so far, built into and installed in <folder>
# (the module's, lib/talvero), where the program finds it by its run path.
function(talvero_biblioteca_comun folder)
  get_property(partes GLOBAL PROPERTY TALVERO_PARTES_COMUNES)
  add_library(talvero_comun SHARED)
  foreach(parte ${partes})
    target_sources(talvero_comun PRIVATE $<TARGET_OBJECTS:${parte}_objetos>)
    target_link_libraries(talvero_comun PRIVATE ${parte}_cabeceras)
  endforeach()
  set_target_properties(talvero_comun PROPERTIES
    OUTPUT_NAME talvero-comun
    LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/${folder})
  # Under clang's sanitizers the runtime lives in the program, not in the library.
  if(NOT TALVERO_SANITIZE)
    target_link_options(talvero_comun PRIVATE "LINKER:--no-undefined")
  endif()
  install(TARGETS talvero_comun LIBRARY DESTINATION ${folder})
endfunction()
