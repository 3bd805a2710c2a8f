# Warnings for the project's own targets only.
function(zordta_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
    -Wconversion -Wsign-conversion)
  # g++ 12 at -O3 (the Release build) reports overlapping copies inside
  # std::string's own concatenation that cannot happen (GCC bug 105329).
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
     AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(ZORDTA_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
