# The tests' own code. CI may build it without optimisation (ZORDTA_TEST_OPTIMIZATION),
# which saves a third of its compile time; the library and tool under test keep the
# build type's.
set(ZORDTA_TEST_OPTIMIZATION "" CACHE STRING
  "Optimisation option for the tests' own code (-O0, say); empty keeps the build type's")

function(zordta_test_code target)
  if(ZORDTA_TEST_OPTIMIZATION)
    target_compile_options(${target} PRIVATE ${ZORDTA_TEST_OPTIMIZATION})
  endif()
endfunction()

# A target of many test files: with g++ most of a test file's compile time is
# GoogleTest's header (and the others given), parsed here once per target. Not with
# clang: its precompiled header holds the checkout's path, so ccache would find no
# test file of it again in another checkout.
function(zordta_precompiled_test_code target)
  zordta_test_code(${target})
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_precompile_headers(${target} PRIVATE <gtest/gtest.h> ${ARGN})
  endif()
endfunction()
