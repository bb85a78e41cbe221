# GoogleTest from Debian's source package, built with this tree's compiler and flags.
set(PM_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
if(WIN32)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
endif()
add_subdirectory(${PM_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
if(NOT MSVC)
  target_compile_options(gtest PRIVATE -O0)  # test code, as in tests/CMakeLists.txt
  target_compile_options(gtest_main PRIVATE -O0)
endif()

# pm_test(name sources... LIBS libs... [LOCK resource] [TIMEOUT seconds] [PROPERTIES name value...])
# : a GoogleTest program registered with CTest, one CTest test per GoogleTest case. Tests that
# share a LOCK never run at the same time (for example those that touch the fixed install folder
# and product keys of the Wine prefix). TIMEOUT (default 120) and PROPERTIES apply to every case.
function(pm_test name)
  cmake_parse_arguments(T "" "LOCK;TIMEOUT" "LIBS;SOURCES;PROPERTIES" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  pm_gbk_literals(${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set(properties TIMEOUT ${T_TIMEOUT} ${T_PROPERTIES})
  if(T_LOCK)
    list(APPEND properties RESOURCE_LOCK ${T_LOCK})
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
endfunction()

# pm_restart_tests(name sources... LIBS libs... CASES case...): a GoogleTest program of restart
# cases. Each case is the program's tests "<case>.BeforeRestart" and "<case>.AfterRestart", run by
# tests/wine/restart-case.sh with a restart of the Wine session between them, as the CTest test
# "<name>.<case>". The restart ends every program in the session, so nothing else runs meanwhile
# (RUN_SERIAL); the cases change the install state (the install-state lock).
function(pm_restart_tests name)
  cmake_parse_arguments(T "" "" "LIBS;CASES" ${ARGN})
  add_executable(${name} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  pm_gbk_literals(${name})
  foreach(case ${T_CASES})
    add_test(NAME ${name}.${case}
      COMMAND /bin/sh ${PROJECT_SOURCE_DIR}/tests/wine/restart-case.sh ${PROJECT_SOURCE_DIR}/tools/wine-run
              $<TARGET_FILE:${name}> ${case})
    set_tests_properties(${name}.${case} PROPERTIES RUN_SERIAL TRUE RESOURCE_LOCK install-state TIMEOUT 300)
  endforeach()
endfunction()
