# The programs' picture and icon are drawn at build time by tools/artwork/make_artwork.py.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(PM_ARTWORK_DIR ${CMAKE_BINARY_DIR}/artwork)
set(PM_ARTWORK_FILES ${PM_ARTWORK_DIR}/SetupPicture.bmp ${PM_ARTWORK_DIR}/Product.ico)
add_custom_command(
  OUTPUT ${PM_ARTWORK_FILES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PM_ARTWORK_DIR}
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/artwork/make_artwork.py ${PM_ARTWORK_FILES}
  DEPENDS ${PROJECT_SOURCE_DIR}/tools/artwork/make_artwork.py
  COMMENT "Drawing the picture and the icon"
  VERBATIM)
add_custom_target(pm_artwork DEPENDS ${PM_ARTWORK_FILES})

# pm_add_resources(target script.rc): compiles the program's resource script with the artwork.
function(pm_add_resources target rc)
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${PM_ARTWORK_FILES}")
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR} ${PM_ARTWORK_DIR})
  add_dependencies(${target} pm_artwork)
endfunction()
