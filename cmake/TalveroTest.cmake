# talvero_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [QT] [LABELS <labels...>]
#                  [ENVIRONMENT <VAR=value...>] [FIXTURES <fixtures...>])
# One test executable, registered with CTest. QT tests run on the offscreen platform,
# with their own temporary HOME and XDG folders so that no test touches the user's
# real settings; sanitizer options are set for the sanitized build.
#
# Most of a test's compile time would go to parsing the same Qt headers again, so the Qt
# tests share precompiled ones: one set for each kind of test (with widgets, with Gui only, or
# with Qt Core only), since Qt Test's headers change with QT_WIDGETS_LIB and QT_GUI_LIB. Each
# set is built once by a small target of its own, which has no definitions of any one test.

# The Qt modules whose macros (QT_WIDGETS_LIB, QT_GUI_LIB, ...) linking the given libraries
# defines in a test. Only what a library passes on to its users counts; its private links
# ($<LINK_ONLY:...>) do not.
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
    get_target_property(interface ${lib} INTERFACE_LINK_LIBRARIES)
    if(interface)
      list(APPEND pending ${interface})
    endif()
  endwhile()
  list(REMOVE_DUPLICATES modules)
  set(${out} ${modules} PARENT_SCOPE)
endfunction()

# Qt Test's headers name each test's folders (QT_TESTCASE_BUILDDIR, QT_TESTCASE_SOURCEDIR)
# for QFINDTESTDATA, which no test uses: without them all tests of a kind share one set of
# precompiled headers.
get_target_property(talvero_qt_test_definitions Qt6::Test INTERFACE_COMPILE_DEFINITIONS)
list(FILTER talvero_qt_test_definitions EXCLUDE REGEX "^QT_TESTCASE_(BUILD|SOURCE)DIR=")
set_target_properties(Qt6::Test PROPERTIES
  INTERFACE_COMPILE_DEFINITIONS "${talvero_qt_test_definitions}")

function(talvero_test_pch test)
  talvero_qt_modules(modules ${ARGN})
  set(headers <QtTest/QtTest> <memory> <string> <vector>)
  if("Widgets" IN_LIST modules)
    set(kind widgets)
    set(qt Qt6::Widgets)
    list(APPEND headers <QtGui/QImage> <QtGui/QPainter> <QtWidgets/QApplication>
      <QtWidgets/QComboBox> <QtWidgets/QLabel> <QtWidgets/QLineEdit> <QtWidgets/QMenuBar>
      <QtWidgets/QMessageBox> <QtWidgets/QPushButton> <QtWidgets/QTableView>)
  elseif("Gui" IN_LIST modules)
    set(kind gui)
    set(qt Qt6::Gui)
    list(APPEND headers <QtGui/QImage> <QtGui/QPainter>)
  else()
    set(kind core)
    set(qt Qt6::Core)
  endif()
  set(host talvero_test_headers_${kind})
  if(NOT TARGET ${host})
    set(stub ${PROJECT_BINARY_DIR}/tests/${host}.cpp)
    file(CONFIGURE OUTPUT ${stub} CONTENT "// The precompiled headers of the tests are built here.\n")
    add_library(${host} OBJECT ${stub})
    target_link_libraries(${host} PRIVATE ${qt} Qt6::Test)
    target_compile_options(${host} PRIVATE -O0)
    target_precompile_headers(${host} PRIVATE ${headers})
  endif()
  target_precompile_headers(${test} REUSE_FROM ${host})
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
    talvero_moc(${T_NAME})
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
