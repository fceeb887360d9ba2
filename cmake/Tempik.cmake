# Build helpers shared by every area of the tree.

set(TEMPIK_WARNINGS -Wall -Wextra -Werror)
option(TEMPIK_FUZZ "Build the core's libFuzzer targets (clang) instead of the program and its tests" OFF)
if(WIN32)
  # Sanitizers exist only in the host build.
  set(TEMPIK_SANITIZE "")
elseif(TEMPIK_FUZZ)
  # The core gets libFuzzer's coverage hooks; each target links libFuzzer's main.
  set(TEMPIK_SANITIZE -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
else()
  set(TEMPIK_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
endif()

# Headers written at configure time (the version), included as "res/Version.h".
set(TEMPIK_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)

define_property(GLOBAL PROPERTY TEMPIK_CORE_SOURCES BRIEF_DOCS "platform-free sources" FULL_DOCS "x")
define_property(GLOBAL PROPERTY TEMPIK_AREAS BRIEF_DOCS "the areas' libraries" FULL_DOCS "x")

function(tempik_project_options target)
  target_compile_options(${target} PRIVATE ${TEMPIK_WARNINGS})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR} ${TEMPIK_GENERATED_DIR})
  if(WIN32)
    target_compile_definitions(${target} PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  endif()
endfunction()

# An area of the tree as a library of its own, tempik_<area>, linked with the areas it
# USES and, in the Windows build, the SYSTEM libraries it calls. CORE sources are
# platform-free (both builds, sanitized on the host); WIN sources are the Windows layer's.
# What an area's sources may include is in layers.rules, which a test enforces.
function(tempik_area area)
  cmake_parse_arguments(A "" "" "CORE;WIN;USES;SYSTEM" ${ARGN})
  set(sources ${A_CORE})
  foreach(src IN LISTS A_CORE)
    get_filename_component(abs ${src} ABSOLUTE)
    set_property(GLOBAL APPEND PROPERTY TEMPIK_CORE_SOURCES ${abs})
  endforeach()
  set(uses)
  foreach(use IN LISTS A_USES)
    list(APPEND uses tempik_${use})
  endforeach()
  if(WIN32)
    list(APPEND sources ${A_WIN})
    list(APPEND uses ${A_SYSTEM})
  endif()
  set(target tempik_${area})
  if(sources)
    add_library(${target} STATIC ${sources})
    tempik_project_options(${target})
    target_compile_options(${target} PUBLIC ${TEMPIK_SANITIZE})
    target_link_options(${target} PUBLIC ${TEMPIK_SANITIZE})
    target_link_libraries(${target} PUBLIC ${uses})
  else()
    # Nothing of it in this build (the host's): only what it would pass on.
    add_library(${target} INTERFACE)
    target_link_libraries(${target} INTERFACE ${uses})
  endif()
  set_property(GLOBAL APPEND PROPERTY TEMPIK_AREAS ${target})
endfunction()

# What the tests link: tempik_core, every area (the core's part of each on the host), and
# in the Windows build tempik_win, the same (the program's resources are tempik_res).
function(tempik_define_libraries)
  get_property(areas GLOBAL PROPERTY TEMPIK_AREAS)
  add_library(tempik_core INTERFACE)
  target_link_libraries(tempik_core INTERFACE ${areas})
  if(NOT WIN32)
    # The core's sources again without sanitizers, for benchmarks.
    get_property(core GLOBAL PROPERTY TEMPIK_CORE_SOURCES)
    add_library(tempik_core_bench STATIC ${core})
    tempik_project_options(tempik_core_bench)
    target_compile_options(tempik_core_bench PRIVATE -O2)
  else()
    add_library(tempik_win INTERFACE)
    target_link_libraries(tempik_win INTERFACE ${areas})
  endif()
endfunction()

# Static runtime on Windows: the executables need no MinGW DLLs. No build time
# in the PE header: the same sources link to the same bytes.
if(WIN32)
  add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp)
endif()

# Paths of the checkout and the build folder never reach a binary (__FILE__,
# debug information): where it was built does not change what is built. The
# build folder's map comes last, so it wins when the folder is in the source tree.
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
                    -ffile-prefix-map=${PROJECT_BINARY_DIR}=build)

# GoogleTest: the system's library, except in the cross build, which compiles
# Debian's sources in /usr/src/googletest with MinGW.
if(WIN32 AND CMAKE_CROSSCOMPILING)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  set(TEMPIK_GTEST_MAIN gtest_main)
  set(TEMPIK_GTEST gtest)
else()
  find_package(GTest REQUIRED)
  set(TEMPIK_GTEST_MAIN GTest::gtest_main)
  set(TEMPIK_GTEST GTest::gtest)
endif()
include(GoogleTest)

function(_tempik_test name)
  cmake_parse_arguments(T "OWN_MAIN;DESKTOP" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  tempik_project_options(${name})
  if(T_OWN_MAIN)
    target_link_libraries(${name} PRIVATE ${T_LIBS} ${TEMPIK_GTEST})
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} ${TEMPIK_GTEST_MAIN})
  endif()
  # A test that shows windows depends on the display's focus, pointer and
  # stacking order, the registry and the hot keys: it gets a desktop of its own
  # (see tools/on-desktop). The rest run on any.
  set(desktop)
  if(T_DESKTOP)
    set(desktop RESOURCE_GROUPS desktop:1)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT 120 ${desktop})
endfunction()

# A test of the platform-free core: built and run in both builds (natively
# under the sanitizers, and as a Windows program under Wine with msvcrt).
function(tempik_core_test name)
  _tempik_test(${name} ${ARGN} LIBS tempik_core)
endfunction()

# A test of the Windows layer: real windows under Wine; Windows build only.
# Linked with the program's resources so dialogs, menus and icons load.
# NO_WINDOWS: it shows none, and needs no desktop of its own.
# SUPPORT: linked with tests/support (dialog driver, window texts, test images).
function(tempik_win_test name)
  cmake_parse_arguments(W "NO_WINDOWS;SUPPORT" "" "" ${ARGN})
  if(WIN32)
    set(libs tempik_win tempik_res)
    if(W_SUPPORT)
      list(PREPEND libs tempik_test_support)
    endif()
    if(W_NO_WINDOWS)
      _tempik_test(${name} ${W_UNPARSED_ARGUMENTS} LIBS ${libs})
    else()
      _tempik_test(${name} ${W_UNPARSED_ARGUMENTS} DESKTOP LIBS ${libs})
    endif()
  endif()
endfunction()
