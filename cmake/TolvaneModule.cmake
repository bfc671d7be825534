# Each folder of src/ is one static library made of every source it holds,
# so that adding a file never means editing a shared list.
function(tolvane_module name)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/src/${name}/*.cpp)
  if(NOT sources)
    set(sources ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(tolvane_${name} STATIC ${sources})
  target_include_directories(tolvane_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  foreach(dep ${ARGN})
    target_link_libraries(tolvane_${name} PUBLIC tolvane_${dep})
  endforeach()
endfunction()

# Each folder of tests/ is one test program, run by ctest case by case.
function(tolvane_tests name)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${name}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(test_${name} ${sources})
  target_include_directories(test_${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(test_${name} PRIVATE tolvane_${name} GTest::gmock GTest::gtest_main)
  target_compile_definitions(test_${name} PRIVATE
    TOLVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  gtest_discover_tests(test_${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "TOLVANE_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()
