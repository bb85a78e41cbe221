# Product code and test code build clean with these warnings on, and every warning stops the build,
# in every tree (native, the Windows builds, fuzzing).
if(MSVC)
  set(PM_WARNING_FLAGS /W4 /WX)
else()
  set(PM_WARNING_FLAGS -Wall -Wextra -Wshadow -Wsuggest-override -Werror)
endif()

function(pm_warnings target)
  target_compile_options(${target} PRIVATE ${PM_WARNING_FLAGS})
endfunction()

# A product library or program: warnings on, GBK literals.
function(pm_product target)
  pm_warnings(${target})
  pm_gbk_literals(${target})
endfunction()
