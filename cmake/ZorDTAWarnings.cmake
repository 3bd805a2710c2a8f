# Warnings for the project's own targets only.
function(zordta_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
    -Wconversion -Wsign-conversion)
  if(ZORDTA_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
