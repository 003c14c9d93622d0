# One place for the warning flags: every target of the project calls orv_warnings().
function(orv_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Werror)
endfunction()
