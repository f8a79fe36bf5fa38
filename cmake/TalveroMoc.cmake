# talvero_moc(<target>)
# Runs moc on the target's own sources, as Qt's automatic moc would: moc_X.cpp for each
# header X.h (listed, or beside a listed X.cpp), compiled with the target, and X.moc for each
# X.cpp, which that file includes when it declares Qt classes itself. A file without Qt
# classes gives an empty one.
#
# Qt's automatic moc first asks the compiler for its predefined macros and then reads every
# header a file includes, once per target and build: that cost more than compiling most
# targets. moc needs none of it to read the classes of one file.
function(talvero_moc target)
  get_target_property(sources ${target} SOURCES)
  get_target_property(source_dir ${target} SOURCE_DIR)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_moc)
  set(files)
  foreach(src ${sources})
    if(src MATCHES "^\\$<")
      continue()
    endif()
    get_filename_component(path ${src} ABSOLUTE BASE_DIR ${source_dir})
    list(APPEND files ${path})
    # As with Qt's automatic moc, the header beside a source counts even when not listed.
    if(path MATCHES "^(.*)\\.cpp$" AND EXISTS "${CMAKE_MATCH_1}.h")
      list(APPEND files "${CMAKE_MATCH_1}.h")
    endif()
  endforeach()
  list(REMOVE_DUPLICATES files)
  foreach(path ${files})
    get_filename_component(stem ${path} NAME_WE)
    if(path MATCHES "\\.cpp$")
      set(out ${dir}/${stem}.moc)
      set_source_files_properties(${out} PROPERTIES HEADER_FILE_ONLY ON)
    elseif(path MATCHES "\\.h$")
      set(out ${dir}/moc_${stem}.cpp)
    else()
      continue()
    endif()
    add_custom_command(OUTPUT ${out}
      COMMAND Qt6::moc --no-notes ${path} -o ${out}
      DEPENDS ${path} Qt6::moc
      COMMENT "moc ${stem}"
      VERBATIM)
    target_sources(${target} PRIVATE ${out})
  endforeach()
  target_include_directories(${target} PRIVATE ${dir})
endfunction()
