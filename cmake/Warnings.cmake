# Product code builds clean with these warnings on.
function(pm_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra)
  endif()
endfunction()

# A product library or program: warnings on, GBK literals.
function(pm_product target)
  pm_warnings(${target})
  pm_gbk_literals(${target})
endfunction()
