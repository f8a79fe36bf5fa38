# talvero_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [QT] [LABELS <labels...>]
#                  [ENVIRONMENT <VAR=value...>] [FIXTURES <fixtures...>])
# One test executable, registered with CTest. QT tests run on the offscreen platform,
# with their own temporary HOME and XDG folders so that no test touches the user's
# real settings; sanitizer options are set for the sanitized build.
#
# Most of a test's compile time goes to parsing the same Qt headers again, so Qt tests share
# precompiled headers: one set for each Qt level a test reaches through what it links (Core,
# Gui, Widgets), since Qt Test's own headers change with it. Each set is built once, by a
# small target of its own with the tests' flags, and reused by every test of its level.

# The highest Qt level (Widgets, Gui or Core) whose macros linking the given libraries
# defines in a test (QT_WIDGETS_LIB and QT_GUI_LIB change what Qt Test's headers hold).
function(talvero_qt_level out)
  set(level Core)
  set(pending ${ARGN})
  set(seen)
  while(pending)
    list(POP_FRONT pending lib)
    if(lib IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${lib})
    if(lib MATCHES "^Qt6?::(Widgets|PrintSupport)$")
      set(level Widgets)
      break()
    elseif(lib MATCHES "^Qt6?::Gui$")
      set(level Gui)
    elseif(TARGET ${lib} AND NOT lib MATCHES "^Qt6?::")
      # Only what a library passes on to its users defines Qt's macros in the test; its
      # private links ($<LINK_ONLY:...>) do not.
      get_target_property(interface ${lib} INTERFACE_LINK_LIBRARIES)
      if(interface)
        list(APPEND pending ${interface})
      endif()
    endif()
  endwhile()
  set(${out} ${level} PARENT_SCOPE)
endfunction()

# The target whose precompiled headers the Qt tests of `level` reuse, made on first use.
function(talvero_test_pch out level)
  set(host talvero_test_pch_${level})
  if(NOT TARGET ${host})
    set(source ${PROJECT_BINARY_DIR}/tests/${host}.cpp)
    file(CONFIGURE OUTPUT ${source} CONTENT "// The host of the tests' precompiled headers.\n")
    add_library(${host} OBJECT ${source})
    target_compile_options(${host} PRIVATE -O0)
    set(headers <QtTest/QtTest> <memory> <string> <vector>)
    if(level STREQUAL "Core")
      target_link_libraries(${host} PRIVATE Qt6::Test)
    elseif(level STREQUAL "Gui")
      target_link_libraries(${host} PRIVATE Qt6::Test Qt6::Gui)
      list(APPEND headers <QtGui/QImage> <QtGui/QPainter>)
    else()
      target_link_libraries(${host} PRIVATE Qt6::Test Qt6::Widgets)
      list(APPEND headers <QtGui/QImage> <QtGui/QPainter> <QtWidgets/QApplication>
        <QtWidgets/QComboBox> <QtWidgets/QLabel> <QtWidgets/QLineEdit> <QtWidgets/QMenuBar>
        <QtWidgets/QMessageBox> <QtWidgets/QPushButton> <QtWidgets/QTableView>)
    endif()
    target_precompile_headers(${host} PRIVATE ${headers})
  endif()
  set(${out} ${host} PARENT_SCOPE)
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
    talvero_qt_level(level ${T_LIBS})
    talvero_test_pch(host ${level})
    target_precompile_headers(${T_NAME} REUSE_FROM ${host})
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
