# Narrow literals are the system's GBK (code page 936) texts; sources are UTF-8.
# pm_gbk_literals(target) makes the compiler convert them, so the bytes in the binary are GBK.
# clang cannot convert to GBK: it is used only for the fuzzing tree, where literals stay UTF-8
# (the fuzz targets check structure, not the texts' bytes).
function(pm_gbk_literals target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /source-charset:utf-8 /execution-charset:.936)
  elseif(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=GBK)
  endif()
endfunction()
