# talvero_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [QT] [LABELS <labels...>]
#                  [ENVIRONMENT <VAR=value...>] [FIXTURES <fixtures...>])
# One test executable, registered with CTest. QT tests run on the offscreen platform,
# with their own temporary HOME and XDG folders so that no test touches the user's
# real settings; sanitizer options are set for the sanitized build.
#
# Most of a test's compile time goes to parsing the same Qt headers again, so Qt tests share
# precompiled headers: one set for each folder of tests and each set of Qt modules a test
# reaches through what it links, since Qt's headers change with both (Qt Test's macros name
# the test's folders). The first test of a folder and modules builds the set, and the
# others of that folder and modules reuse it.

# The Qt modules whose macros (QT_WIDGETS_LIB, QT_SQL_LIB, ...) linking the given libraries
# defines in a test, sorted: Qt's headers test them, so a precompiled set serves only tests
# with the same ones.
function(talvero_qt_modules out)
  set(modules)
  set(pending ${ARGN})
  set(seen)
  while(pending)
    list(POP_FRONT pending lib)
    if(lib IN_LIST seen OR NOT TARGET ${lib})
      continue()
    endif()
    list(APPEND seen ${lib})
    if(lib MATCHES "^Qt6?::(.+)$")
      list(APPEND modules ${CMAKE_MATCH_1})
    endif()
    # Only what a library passes on to its users defines macros in the test; its private
    # links ($<LINK_ONLY:...>) do not.
    get_target_property(interface ${lib} INTERFACE_LINK_LIBRARIES)
    if(interface)
      list(APPEND pending ${interface})
    endif()
  endwhile()
  list(REMOVE_DUPLICATES modules)
  list(SORT modules)
  set(${out} ${modules} PARENT_SCOPE)
endfunction()

# Precompiles the tests' Qt headers in `test`, or makes it reuse those of the first Qt test
# of its folder with the same Qt modules, which builds them.
function(talvero_test_pch test)
  talvero_qt_modules(modules ${ARGN})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  string(JOIN "_" key talvero_pch ${folder} ${modules})
  get_property(host GLOBAL PROPERTY ${key})
  if(host)
    target_precompile_headers(${test} REUSE_FROM ${host})
    return()
  endif()
  set_property(GLOBAL PROPERTY ${key} ${test})
  set(headers <QtTest/QtTest> <memory> <string> <vector>)
  if("Widgets" IN_LIST modules)
    list(APPEND headers <QtGui/QImage> <QtGui/QPainter> <QtWidgets/QApplication>
      <QtWidgets/QComboBox> <QtWidgets/QLabel> <QtWidgets/QLineEdit> <QtWidgets/QMenuBar>
      <QtWidgets/QMessageBox> <QtWidgets/QPushButton> <QtWidgets/QTableView>)
  elseif("Gui" IN_LIST modules)
    list(APPEND headers <QtGui/QImage> <QtGui/QPainter>)
  endif()
  target_precompile_headers(${test} PRIVATE ${headers})
endfunction()

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
    talvero_test_pch(${T_NAME} ${T_LIBS} Qt6::Test)
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
