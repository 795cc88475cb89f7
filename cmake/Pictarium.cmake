# Helpers that keep every folder's CMakeLists.txt short and the warning policy in one place.

# Our own code builds with all warnings as errors; third-party headers are included as SYSTEM.
function(pictarium_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  # g++ 12 with heavy inlining reports overlaps and out-of-bounds copies inside libstdc++'s own
  # string and vector code ("/" + std::string, vector::insert) where none exist; keep these
  # warnings visible, but not as errors.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-error=restrict -Wno-error=array-bounds
                                             -Wno-error=stringop-overflow)
  endif()
endfunction()

# pictarium_library(NAME SOURCES a.cpp b.cpp DEPS lib1 lib2)
function(pictarium_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  pictarium_warnings(${name})
endfunction()

# pictarium_test(NAME SOURCES a_test.cpp DEPS lib1): one GoogleTest executable, registered with CTest.
function(pictarium_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  pictarium_warnings(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "PICTARIUM_BUILD_DIR=${PROJECT_BINARY_DIR}")
endfunction()

# True when the folder named `component` is part of this build (see PICTARIUM_COMPONENTS).
function(pictarium_component_enabled component result)
  if(PICTARIUM_COMPONENTS STREQUAL "all" OR component IN_LIST PICTARIUM_COMPONENTS)
    set(${result} TRUE PARENT_SCOPE)
  else()
    set(${result} FALSE PARENT_SCOPE)
  endif()
endfunction()

# add_subdirectory(dir) when `component` is part of this build.
function(pictarium_add_component component dir)
  pictarium_component_enabled(${component} enabled)
  if(enabled)
    add_subdirectory(${dir})
  endif()
endfunction()

# pictarium_folder_library(NAME FOLDER DEPS...): every .cpp of FOLDER (relative to the calling
# CMakeLists.txt); nothing while the folder is empty.
function(pictarium_folder_library name folder)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  if(sources)
    pictarium_library(${name} SOURCES ${sources} DEPS ${ARGN})
  endif()
endfunction()

# pictarium_folder_test(NAME FOLDER DEPS...): every .cpp of FOLDER as one test program; nothing
# while the folder is empty or a library it needs does not exist yet.
function(pictarium_folder_test name folder)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  foreach(dep ${ARGN})
    if(NOT TARGET ${dep})
      return()
    endif()
  endforeach()
  if(sources)
    pictarium_test(${name} SOURCES ${sources} DEPS ${ARGN})
  endif()
endfunction()
