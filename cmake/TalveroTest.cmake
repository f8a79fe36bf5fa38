# talvero_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [QT] [LABELS <labels...>]
#                  [ENVIRONMENT <VAR=value...>] [FIXTURES <fixtures...>])
# One test executable, registered with CTest. QT tests run on the offscreen platform,
# with their own temporary HOME and XDG folders so that no test touches the user's
# real settings; sanitizer options are set for the sanitized build.

function(talvero_add_test)
  cmake_parse_arguments(T "QT" "NAME" "SOURCES;LIBS;LABELS;ENVIRONMENT;FIXTURES" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS})
  # The test's own code is built unoptimised: it is template-heavy and quick to run, and
  # what it tests lives in the libraries, built with the build's own optimisation.
  target_compile_options(${T_NAME} PRIVATE -O0)
  if(T_QT)
    target_link_libraries(${T_NAME} PRIVATE Qt6::Test)
    set_target_properties(${T_NAME} PROPERTIES AUTOMOC ON)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set(env
    "QT_QPA_PLATFORM=offscreen"
    "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1"
    "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
    # Data the program keeps (the register of issued receipts) goes to the build tree.
    "XDG_DATA_HOME=${CMAKE_CURRENT_BINARY_DIR}/xdg-data/${T_NAME}"
    ${T_ENVIRONMENT})
  set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
  if(T_LABELS)
    set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}")
  endif()
  if(T_FIXTURES)
    # Tests run side by side (ctest -j); those of one fixture share what it set up (the one
    # print server, its queues and its log), so they take turns.
    set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED "${T_FIXTURES}"
      RESOURCE_LOCK "${T_FIXTURES}")
  endif()
endfunction()
