# Warnings for the project's own targets; third-party headers come in as SYSTEM.
function(larkspin_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()
