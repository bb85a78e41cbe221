# Narrow literals are the system's GBK (code page 936) texts; sources are UTF-8.
# pm_gbk_literals(target) makes the compiler convert them, so the bytes in the binary are GBK.
function(pm_gbk_literals target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /source-charset:utf-8 /execution-charset:.936)
  else()
    target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=GBK)
  endif()
endfunction()
