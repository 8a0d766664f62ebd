# Collects the .cpp files directly inside each named folder (not below it:
# platform/linux and platform/linux/ui belong to different libraries).
function(kestrel_sources out)
  set(result)
  foreach(dir IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND result ${found})
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# Adds every subfolder of `parent` that carries its own CMakeLists.txt.
function(kestrel_add_subdirectories parent)
  file(GLOB children LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/${parent}/*)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# Test folders: tests/<name>/ becomes the executable test_<name>, linked with
# the whole program, unless the folder brings its own CMakeLists.txt (for
# tests that need a different hidapi or extra programs).  A folder holding a
# file named NEEDS_DISPLAY gets the label "display"; the test run gives every
# test a display anyway.
function(kestrel_add_test_folders parent)
  file(GLOB children LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/${parent}/*)
  foreach(child IN LISTS children)
    if(NOT IS_DIRECTORY ${child})
      continue()
    endif()
    get_filename_component(name ${child} NAME)
    if(name STREQUAL "fixtures")
      continue()
    endif()
    if(EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
      continue()
    endif()
    file(GLOB sources CONFIGURE_DEPENDS ${child}/*.cpp)
    if(NOT sources)
      continue()
    endif()
    kestrel_add_gtest(test_${name} ${sources})
  endforeach()
endfunction()

# One GoogleTest executable linked with the whole program and registered
# with CTest as one test.
function(kestrel_add_gtest target)
  add_executable(${target} ${ARGN})
  target_compile_options(${target} PRIVATE ${KESTREL_WARNINGS})
  target_compile_definitions(${target} PRIVATE
    KESTREL_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    KESTREL_RUNTIME_DIR="${KESTREL_RUNTIME_DIR}")
  target_link_libraries(${target} PRIVATE kestrel-app GTest::gtest GTest::gtest_main GTest::gmock)
  add_dependencies(${target} kestrel-data)
  add_test(NAME ${target} COMMAND ${target} --gtest_brief=1)
  set_tests_properties(${target} PROPERTIES TIMEOUT 300)
endfunction()
