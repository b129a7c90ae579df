# Build rules shared by every folder of the tree.

# Sources are UTF-8; every string that reaches the programs is Windows-1252.
# The compiler converts narrow literals, so source files keep readable Italian
# text and the programs (and the native tests) see the same bytes.
set(QUORVEL_CHARSET_FLAGS -finput-charset=UTF-8 -fexec-charset=CP1252)

add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-Wall;-Wextra;${QUORVEL_CHARSET_FLAGS}>")
# Both builds stay free of warnings; -DQUORVEL_WERROR=OFF while experimenting.
option(QUORVEL_WERROR "Treat compiler warnings as errors" ON)
if(QUORVEL_WERROR)
  add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-Werror>")
endif()
include_directories(${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/generated)

# Path of a native generator from tools/: the target in the native build, the
# already built program of the native build when cross compiling.
function(quorvel_tool var name)
  if(WIN32)
    if(NOT QUORVEL_TOOLS_DIR)
      message(FATAL_ERROR "QUORVEL_TOOLS_DIR must name the native build's tools folder")
    endif()
    set(${var} ${QUORVEL_TOOLS_DIR}/${name} PARENT_SCOPE)
  else()
    set(${var} $<TARGET_FILE:${name}> PARENT_SCOPE)
  endif()
endfunction()

# A portable library: standard C++ only, compiled in both builds.
function(quorvel_portable_library name)
  add_library(${name} STATIC ${ARGN})
  set_property(GLOBAL APPEND PROPERTY QUORVEL_PORTABLE_LIBS ${name})
endfunction()

# One Windows test executable per folder of tests/win32, run under Wine.
# A folder may hold a CMakeLists.txt of its own (for other programs' tests);
# otherwise its *.cpp files make win32_<folder>_tests with the given LIBS.
function(quorvel_add_win32_test_folders)
  cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
  file(GLOB dirs LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(dir ${dirs})
    get_filename_component(area ${dir} NAME)
    if(NOT IS_DIRECTORY ${dir} OR area STREQUAL "support")
      continue()
    endif()
    if(EXISTS ${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
      continue()
    endif()
    file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    if(NOT sources)
      continue()
    endif()
    set(target win32_${area}_tests)
    add_executable(${target} ${sources} ${QUORVEL_WIN32_TEST_SUPPORT})
    target_link_libraries(${target} PRIVATE ${T_LIBS} quorvel_win32_testlib)
    target_compile_definitions(${target} PRIVATE QUORVEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    add_test(NAME win32.${area} COMMAND ${target})
    set_tests_properties(win32.${area} PROPERTIES TIMEOUT 300)
  endforeach()
endfunction()


# Folders join the build once they hold their own CMakeLists.txt.
function(quorvel_add_folders)
  foreach(dir ${ARGN})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()

# A Windows program's manifest: <name>.manifest.in beside its resource script
# <name>.rc, written into the build folder with this build's processor, where
# the script's `1 24 "<name>.manifest"` finds it. Comments and indentation
# stay in the source: the program carries only the elements (Quorvel.exe has
# its size limit).
function(quorvel_program_manifest target rc)
  get_filename_component(name ${rc} NAME_WE)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(QUORVEL_MANIFEST_ARCH amd64)
  else()
    set(QUORVEL_MANIFEST_ARCH x86)
  endif()
  set(source ${CMAKE_CURRENT_SOURCE_DIR}/${name}.manifest.in)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/manifest)
  file(READ ${source} text)
  string(REGEX REPLACE "<!--[^>]*-->" "" text "${text}")
  string(REGEX REPLACE "\n[ \n]*" "\n" text "${text}")
  file(CONFIGURE OUTPUT ${out}/${name}.manifest CONTENT "${text}" @ONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  target_include_directories(${target} PRIVATE ${out})
  set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS ${out}/${name}.manifest)
endfunction()
