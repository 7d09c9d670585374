# One way to declare every library and test of the program, so all targets
# are alike. A core library holds a subsystem's state and rules and may use
# QtCore (and QtSql in store); a widgets library holds its windows.

function(_quillon_sources out dir)
  file(GLOB _src CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  set(${out} ${_src} PARENT_SCOPE)
endfunction()

# add_core_lib(<folder> [DEPS ...]): library <folder>_core from src/<folder>/core
function(add_core_lib folder)
  cmake_parse_arguments(A "" "" "DEPS" ${ARGN})
  foreach(dep ${A_DEPS})
    if(dep MATCHES "Qt6::(Gui|Widgets|PrintSupport)" OR dep MATCHES "_widgets$")
      message(FATAL_ERROR "${folder}_core must not link ${dep}: core libraries never see a widget")
    endif()
  endforeach()
  _quillon_sources(src ${CMAKE_CURRENT_SOURCE_DIR}/core)
  if(NOT src)
    # A subsystem whose rules are not written yet: its windows still link.
    add_library(${folder}_core INTERFACE)
    target_include_directories(${folder}_core INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${folder}_core INTERFACE Qt6::Core ${A_DEPS})
    return()
  endif()
  add_library(${folder}_core STATIC ${src})
  target_include_directories(${folder}_core PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${folder}_core PUBLIC Qt6::Core ${A_DEPS})
  target_compile_options(${folder}_core PRIVATE -Wall -Wextra)
endfunction()

# add_widgets_lib(<folder> [DEPS ...]): library <folder>_widgets from src/<folder>/widgets
function(add_widgets_lib folder)
  cmake_parse_arguments(A "" "" "DEPS" ${ARGN})
  _quillon_sources(src ${CMAKE_CURRENT_SOURCE_DIR}/widgets)
  if(NOT src)
    add_library(${folder}_widgets INTERFACE)
    target_link_libraries(${folder}_widgets INTERFACE ${folder}_core Qt6::Widgets ${A_DEPS})
    return()
  endif()
  add_library(${folder}_widgets STATIC ${src})
  target_include_directories(${folder}_widgets PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${folder}_widgets PUBLIC ${folder}_core Qt6::Widgets ${A_DEPS})
  target_compile_options(${folder}_widgets PRIVATE -Wall -Wextra)
endfunction()

function(_quillon_test name dir)
  cmake_parse_arguments(A "" "" "DEPS" ${ARGN})
  file(GLOB src CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  if(NOT src)
    return()
  endif()
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE ${A_DEPS} GTest::gtest)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
endfunction()

# add_core_test(<folder> DEPS ...): tests/<folder>/core*.cpp without a display
function(add_core_test folder)
  cmake_parse_arguments(A "" "" "DEPS" ${ARGN})
  _quillon_test(${folder}_core_tests ${CMAKE_CURRENT_SOURCE_DIR}/core
    DEPS test_support_core ${folder}_core ${A_DEPS})
endfunction()

# add_widgets_test(<folder> DEPS ...): offscreen tests that drive real windows
function(add_widgets_test folder)
  cmake_parse_arguments(A "" "" "DEPS" ${ARGN})
  _quillon_test(${folder}_widgets_tests ${CMAKE_CURRENT_SOURCE_DIR}/widgets
    DEPS test_support_widgets ${folder}_widgets ${A_DEPS})
endfunction()
