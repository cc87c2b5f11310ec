# The warning set every compiler of the project uses on our own code.
function(korvain_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Werror)
endfunction()
