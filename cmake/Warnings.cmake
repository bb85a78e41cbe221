# Product code builds clean with these warnings on, and every warning stops the build, in every
# tree (native, the two Windows builds, fuzzing).
function(pm_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wsuggest-override -Werror)
  endif()
endfunction()

# A product library or program: warnings on, GBK literals.
function(pm_product target)
  pm_warnings(${target})
  pm_gbk_literals(${target})
endfunction()
