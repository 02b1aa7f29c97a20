# Warnings for our own code: on, and an error, so the tree stays clean.
# -Wrestrict is off: GCC 12 reports false positives inside std::string at -O2
# and above (its bug 105651).
function(lumora_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wno-restrict -Werror)
endfunction()
