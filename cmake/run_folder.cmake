# Fills the run folder beside the executable: shaders, generated images, fonts.

foreach(shader vertex.c fragment.c)
  configure_file(${CMAKE_SOURCE_DIR}/assets/shaders_desktop/${shader}
                 ${RUN_DIR}/shaders_desktop/${shader} COPYONLY)
endforeach()

# The panel image is drawn by a small generator of ours at build time.
if(CMAKE_CROSSCOMPILING)
  set(IMAGE_GENERATOR ${TESSARIN_HOST_IMAGE_GENERATOR})
else()
  add_executable(make_rounded_rect assets/make_rounded_rect.cpp)
  set_target_properties(make_rounded_rect PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
  target_include_directories(make_rounded_rect SYSTEM PRIVATE ${STB_INCLUDE_DIR})
  target_compile_options(make_rounded_rect PRIVATE ${TESSARIN_WARNINGS})
  set(IMAGE_GENERATOR $<TARGET_FILE:make_rounded_rect>)
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

add_custom_target(run_folder ALL DEPENDS
  ${RUN_DIR}/images/rounded_rect.png ${RUN_DIR}/images_x2/rounded_rect.png
  ${RUN_DIR}/fonts/PoetsenOne-Regular.ttf ${RUN_DIR}/fonts/arialbd.ttf)
add_dependencies(tessarin run_folder)
