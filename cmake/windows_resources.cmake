# The exe's resources: the icon (drawn at build time), version information
# from project(VERSION) and the application manifest, compiled by windres.
set(TESSARIN_ICON ${CMAKE_BINARY_DIR}/resources/tessarin.ico)
set(TESSARIN_MANIFEST ${CMAKE_SOURCE_DIR}/assets/windows/tessarin.manifest)
add_custom_command(
  OUTPUT ${TESSARIN_ICON}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/resources
  COMMAND ${ICON_GENERATOR} ${TESSARIN_ICON}
  DEPENDS ${ICON_GENERATOR}
  COMMENT "Drawing tessarin.ico")
configure_file(${CMAKE_SOURCE_DIR}/assets/windows/tessarin.rc.in
               ${CMAKE_BINARY_DIR}/resources/tessarin.rc @ONLY)
target_sources(tessarin PRIVATE ${CMAKE_BINARY_DIR}/resources/tessarin.rc)
set_source_files_properties(${CMAKE_BINARY_DIR}/resources/tessarin.rc PROPERTIES
  OBJECT_DEPENDS "${TESSARIN_ICON};${TESSARIN_MANIFEST}")
