# Fills the run folder beside the executable: shaders, generated images, fonts.

foreach(shader vertex.c fragment.c)
  configure_file(${CMAKE_SOURCE_DIR}/assets/shaders_desktop/${shader}
                 ${RUN_DIR}/shaders_desktop/${shader} COPYONLY)
endforeach()

# The panel image and the icon are drawn by small generators of ours at build
# time; a cross build gets them built for the build machine.
if(CMAKE_CROSSCOMPILING)
  set(IMAGE_GENERATOR ${TESSARIN_HOST_IMAGE_GENERATOR})
  set(ICON_GENERATOR ${TESSARIN_HOST_ICON_GENERATOR})
else()
  foreach(tool make_rounded_rect make_icon)
    add_executable(${tool} assets/${tool}.cpp)
    set_target_properties(${tool} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
    target_include_directories(${tool} SYSTEM PRIVATE ${STB_INCLUDE_DIR})
    target_compile_options(${tool} PRIVATE ${TESSARIN_WARNINGS})
  endforeach()
  set(IMAGE_GENERATOR $<TARGET_FILE:make_rounded_rect>)
  set(ICON_GENERATOR $<TARGET_FILE:make_icon>)
endif()
add_custom_command(
  OUTPUT ${RUN_DIR}/images/rounded_rect.png ${RUN_DIR}/images_x2/rounded_rect.png
  COMMAND ${CMAKE_COMMAND} -E make_directory ${RUN_DIR}/images ${RUN_DIR}/images_x2
  COMMAND ${IMAGE_GENERATOR} ${RUN_DIR}/images/rounded_rect.png 64 12
  COMMAND ${IMAGE_GENERATOR} ${RUN_DIR}/images_x2/rounded_rect.png 128 24
  DEPENDS ${IMAGE_GENERATOR}
  COMMENT "Drawing rounded_rect.png")

# Debian's fonts under the program's file names.
set(FONT_TITLE /usr/share/fonts/truetype/comfortaa/Comfortaa-Bold.ttf)
set(FONT_DIGITS /usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf)
foreach(font ${FONT_TITLE} ${FONT_DIGITS})
  if(NOT EXISTS ${font})
    message(FATAL_ERROR "${font} is missing: run scripts/install-deps")
  endif()
endforeach()
add_custom_command(
  OUTPUT ${RUN_DIR}/fonts/PoetsenOne-Regular.ttf ${RUN_DIR}/fonts/arialbd.ttf
  COMMAND ${CMAKE_COMMAND} -E make_directory ${RUN_DIR}/fonts
  COMMAND ${CMAKE_COMMAND} -E copy ${FONT_TITLE} ${RUN_DIR}/fonts/PoetsenOne-Regular.ttf
  COMMAND ${CMAKE_COMMAND} -E copy ${FONT_DIGITS} ${RUN_DIR}/fonts/arialbd.ttf
  DEPENDS ${FONT_TITLE} ${FONT_DIGITS}
  COMMENT "Copying the fonts into the run folder")

# The window icon on Linux; Windows takes it from the exe's resources.
set(RUN_FOLDER_FILES
  ${RUN_DIR}/images/rounded_rect.png ${RUN_DIR}/images_x2/rounded_rect.png
  ${RUN_DIR}/fonts/PoetsenOne-Regular.ttf ${RUN_DIR}/fonts/arialbd.ttf)
if(NOT WIN32)
  add_custom_command(
    OUTPUT ${RUN_DIR}/images/icon.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${RUN_DIR}/images
    COMMAND ${ICON_GENERATOR} ${RUN_DIR}/images/icon.png 64
    DEPENDS ${ICON_GENERATOR}
    COMMENT "Drawing icon.png")
  list(APPEND RUN_FOLDER_FILES ${RUN_DIR}/images/icon.png)
endif()

add_custom_target(run_folder ALL DEPENDS ${RUN_FOLDER_FILES})
add_dependencies(tessarin run_folder)
