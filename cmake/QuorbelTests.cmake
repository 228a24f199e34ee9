# One test program per folder below tests/, linked with the library of the
# same name (and everything it uses); every test gets the folder as LABEL.
find_package(PkgConfig REQUIRED)
pkg_check_modules(XCB_TESTS REQUIRED IMPORTED_TARGET xcb)
pkg_check_modules(GIFLIB_PC QUIET libgif)
find_library(GIF_LIBRARY NAMES gif)

set(QUORBEL_TEST_DATA ${PROJECT_SOURCE_DIR}/tests/data)
# Test programs of these folders run widgets: they get the shared offscreen application
# and its unanswered-modal guard from tests/support.
set(QUORBEL_GUI_TEST_FOLDERS platform desktop dialogs mainwindow)
# Input as the window system delivers it (tests/support/WindowInput.h) goes through Qt Test.
find_package(Qt6 REQUIRED COMPONENTS Test)
file(GLOB QUORBEL_GUI_TEST_SUPPORT ${PROJECT_SOURCE_DIR}/tests/support/*.cpp)
file(GLOB test_dirs LIST_DIRECTORIES true ${PROJECT_SOURCE_DIR}/tests/*)
foreach(dir ${test_dirs})
  get_filename_component(label ${dir} NAME)
  if(NOT IS_DIRECTORY ${dir} OR label STREQUAL "data" OR label STREQUAL "support")
    continue()
  endif()
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/(programs|preload)/")
  if(NOT sources)
    continue()
  endif()
  # tests/<folder>/programs/<name>.cpp: small programs built from the folder's library
  # that the tests start as processes; QUORBEL_TEST_PROGRAMS "/<name>" is their path.
  file(GLOB programs CONFIGURE_DEPENDS ${dir}/programs/*.cpp)
  set(program_targets)
  foreach(program ${programs})
    get_filename_component(name ${program} NAME_WE)
    add_executable(test_program_${name} ${program})
    target_link_libraries(test_program_${name} PRIVATE q_${label})
    target_include_directories(test_program_${name} PRIVATE ${PROJECT_SOURCE_DIR}/src)
    set_target_properties(test_program_${name} PROPERTIES
      OUTPUT_NAME ${name}
      RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/test_programs)
    list(APPEND program_targets test_program_${name})
  endforeach()
  # tests/<folder>/preload/<name>.cpp: libraries that the tests load into the real
  # executable (LD_PRELOAD) to act on its files at a chosen moment; QUORBEL_TEST_PROGRAMS
  # "/lib<name>.so" is their path.
  file(GLOB preloads CONFIGURE_DEPENDS ${dir}/preload/*.cpp)
  foreach(preload ${preloads})
    get_filename_component(name ${preload} NAME_WE)
    add_library(test_preload_${name} SHARED ${preload})
    target_link_libraries(test_preload_${name} PRIVATE ${CMAKE_DL_LIBS})
    set_target_properties(test_preload_${name} PROPERTIES
      OUTPUT_NAME ${name}
      CXX_VISIBILITY_PRESET default
      LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/test_programs)
    list(APPEND program_targets test_preload_${name})
  endforeach()
  if(label IN_LIST QUORBEL_GUI_TEST_FOLDERS)
    list(APPEND sources ${QUORBEL_GUI_TEST_SUPPORT})
  endif()
  # Pictures of texts are read back with the GIF tests' giflib and Qt decoders; the
  # class library's pictures and clipboard are tested with GIF pictures.
  if(label STREQUAL "picture" OR label STREQUAL "platform" OR label STREQUAL "e2e")
    list(APPEND sources ${PROJECT_SOURCE_DIR}/tests/gif/gif_oracle.cpp)
  endif()
  # A memo is read by a screen reader's bus on a desktop of its own.
  if(label STREQUAL "platform")
    list(APPEND sources ${PROJECT_SOURCE_DIR}/tests/e2e/DesktopSession.cpp)
  endif()
  # The working window's tests save configurations and run the real executable on them.
  if(label STREQUAL "mainwindow")
    list(APPEND sources ${PROJECT_SOURCE_DIR}/tests/e2e/QuorbelProcess.cpp)
  endif()
  set(target tests_${label})
  add_executable(${target} ${sources})
  if(TARGET q_${label})
    target_link_libraries(${target} PRIVATE q_${label})
  else()
    target_link_libraries(${target} PRIVATE q_mainwindow)
  endif()
  if(label STREQUAL "platform")
    target_link_libraries(${target} PRIVATE q_gif)
  endif()
  # The desktop session follows its windows through the X server.
  if(label STREQUAL "platform" OR label STREQUAL "e2e")
    target_link_libraries(${target} PRIVATE PkgConfig::XCB_TESTS)
  endif()
  # The end-to-end tests lay the windows out offscreen to find the controls on a real
  # display.
  if(label IN_LIST QUORBEL_GUI_TEST_FOLDERS OR label STREQUAL "e2e")
    target_link_libraries(${target} PRIVATE Qt6::Test)
  endif()
  # The dialogs are also tried among every window of the program, built as the program
  # builds them (tests/support/ProgramWindowsFixture.h).
  if(label STREQUAL "dialogs")
    target_link_libraries(${target} PRIVATE q_mainwindow)
  endif()
  target_link_libraries(${target} PRIVATE GTest::gtest GTest::gmock GTest::gtest_main)
  if(GIF_LIBRARY)
    target_link_libraries(${target} PRIVATE ${GIF_LIBRARY})
  endif()
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${target} PRIVATE
    QUORBEL_TEST_DATA="${QUORBEL_TEST_DATA}"
    QUORBEL_BINARY="$<TARGET_FILE:quorbel>"
    QUORBEL_BUILD_DIR="${PROJECT_BINARY_DIR}"
    QUORBEL_TEST_PROGRAMS="${PROJECT_BINARY_DIR}/test_programs")
  if(label STREQUAL "e2e" OR label STREQUAL "mainwindow")
    add_dependencies(${target} quorbel)
  endif()
  if(program_targets)
    add_dependencies(${target} ${program_targets})
  endif()
  gtest_discover_tests(${target}
    PROPERTIES LABELS ${label}
    DISCOVERY_TIMEOUT 60
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endforeach()

# Code that must not compile: tests/<folder>/compile_fail/compile_fail.cmake registers the
# checks, each a compiler run that must fail with the message naming its fault.
file(GLOB compile_fail_lists ${PROJECT_SOURCE_DIR}/tests/*/compile_fail/compile_fail.cmake)
foreach(list ${compile_fail_lists})
  include(${list})
endforeach()

# The regex tests hold the engine beside PCRE2 where perl's own quirks differ from both.
pkg_check_modules(PCRE2_16_TESTS REQUIRED IMPORTED_TARGET libpcre2-16)
target_link_libraries(tests_regex PRIVATE PkgConfig::PCRE2_16_TESTS)
