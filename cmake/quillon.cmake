# One way to declare every library and test of the program, so all targets
# are alike. A core library holds a subsystem's state and rules and may use
# QtCore (and QtSql in store); a widgets library holds its windows.

option(QUILLON_WERROR "Treat compiler warnings as errors" OFF)
option(QUILLON_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
# Core only: no Gui, Widgets or PrintSupport are looked for; every core
# library and its tests build, which proves no core library needs a widget.
option(QUILLON_CORE_ONLY "Build the core libraries and their tests only" OFF)

if(QUILLON_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Fuzzing: clang's libFuzzer. Every library is built with its coverage
# instrumentation and the sanitizers; the targets in fuzz/ add the driver.
option(QUILLON_FUZZ "Build the libFuzzer targets of the text parsers (clang only)" OFF)
if(QUILLON_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "QUILLON_FUZZ needs clang (e.g. -DCMAKE_CXX_COMPILER=clang++-14)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# The warnings every target of ours is built with.
function(quillon_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wpedantic -Wnon-virtual-dtor)
  if(QUILLON_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

function(_quillon_sources out dir)
  file(GLOB_RECURSE _src CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  set(${out} ${_src} PARENT_SCOPE)
endfunction()

# Fails the configure when a core library would reach a widget through any
# chain of its link dependencies.
function(_quillon_check_core folder dep chain)
  if(dep MATCHES "Qt6::(Gui|Widgets|PrintSupport)" OR dep MATCHES "_widgets$")
    message(FATAL_ERROR "${folder}_core must not link ${dep} (through ${chain}): core libraries never see a widget")
  endif()
  if(TARGET ${dep} AND NOT dep MATCHES "^Qt6::")
    get_target_property(_deps ${dep} INTERFACE_LINK_LIBRARIES)
    if(_deps)
      foreach(d ${_deps})
        _quillon_check_core(${folder} ${d} "${chain} -> ${d}")
      endforeach()
    endif()
  endif()
endfunction()

# add_core_lib(<folder> [DEPS ...]): library <folder>_core from src/<folder>/core
function(add_core_lib folder)
  cmake_parse_arguments(A "" "" "DEPS" ${ARGN})
  foreach(dep ${A_DEPS})
    _quillon_check_core(${folder} ${dep} ${dep})
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
  quillon_warnings(${folder}_core)
endfunction()

# add_widgets_lib(<folder> [DEPS ...]): library <folder>_widgets from src/<folder>/widgets
function(add_widgets_lib folder)
  if(QUILLON_CORE_ONLY)
    return()
  endif()
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
  quillon_warnings(${folder}_widgets)
endfunction()

function(_quillon_test name dir)
  cmake_parse_arguments(A "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE src CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  if(NOT src)
    return()
  endif()
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE ${A_DEPS} GTest::gtest)
  quillon_warnings(${name})
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
  if(QUILLON_CORE_ONLY)
    return()
  endif()
  cmake_parse_arguments(A "" "" "DEPS" ${ARGN})
  _quillon_test(${folder}_widgets_tests ${CMAKE_CURRENT_SOURCE_DIR}/widgets
    DEPS test_support_widgets ${folder}_widgets ${A_DEPS})
endfunction()

# add_core_part(<folder> <part> [DEPS ...]): core library <folder>_<part> from
# src/<folder>/<part>, for a piece of a subsystem that other subsystems link
# without its rules (the book's pages).
function(add_core_part folder part)
  cmake_parse_arguments(A "" "" "DEPS" ${ARGN})
  foreach(dep ${A_DEPS})
    _quillon_check_core(${folder}_${part} ${dep} ${dep})
  endforeach()
  _quillon_sources(src ${CMAKE_CURRENT_SOURCE_DIR}/${part})
  add_library(${folder}_${part} STATIC ${src})
  target_include_directories(${folder}_${part} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${folder}_${part} PUBLIC Qt6::Core ${A_DEPS})
  quillon_warnings(${folder}_${part})
endfunction()

# add_core_part_test(<folder> <part> [DEPS ...]): tests/<folder>/<part> without a display
function(add_core_part_test folder part)
  cmake_parse_arguments(A "" "" "DEPS" ${ARGN})
  _quillon_test(${folder}_${part}_tests ${CMAKE_CURRENT_SOURCE_DIR}/${part}
    DEPS test_support_core ${folder}_${part} ${A_DEPS})
endfunction()
