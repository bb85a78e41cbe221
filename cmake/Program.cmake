# pm_windows_program(target script.rc): one of the shipped programs, placed in PM_DIST_DIR.
function(pm_windows_program target rc)
  pm_add_resources(${target} ${rc})
  pm_product(${target})
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PM_DIST_DIR})
  if(MINGW AND CMAKE_SIZEOF_VOID_P EQUAL 4)
    # Runs on Windows XP: the static thread support's GetTickCount64 import (Vista and later)
    # is pointed at framework/XpCompat.cpp's replacement.
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/framework/XpCompat.cpp)
    target_link_options(${target} PRIVATE "-Wl,--defsym,\"__imp__GetTickCount64@0\"=_pm_pfnGetTickCount64")
  endif()
endfunction()
