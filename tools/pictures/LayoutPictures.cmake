# The Layout page's pictures, drawn at build time by our own generator.
# korvain_layout_pictures(OUTPUT_DIR RC_VARIABLE) makes OUTPUT_DIR/layout_pictures.rc
# and the bitmaps and icons it names, and sets RC_VARIABLE to the script's path.
# The generator runs on the build machine, so in the cross configurations it is
# compiled with the build machine's own compiler.
set(KORVAIN_PICTURES_DIR ${CMAKE_CURRENT_LIST_DIR})
set(KORVAIN_PICTURE_SOURCES
  ${KORVAIN_PICTURES_DIR}/raster.cpp
  ${KORVAIN_PICTURES_DIR}/image_files.cpp
  ${KORVAIN_PICTURES_DIR}/preview_pictures.cpp
  ${KORVAIN_PICTURES_DIR}/combo_icons.cpp
  ${KORVAIN_PICTURES_DIR}/make_layout_pictures.cpp)
set(KORVAIN_PICTURE_HEADERS
  ${KORVAIN_PICTURES_DIR}/raster.h
  ${KORVAIN_PICTURES_DIR}/image_files.h
  ${KORVAIN_PICTURES_DIR}/layout_pictures.h)

function(korvain_layout_pictures output_dir rc_variable)
  set(script ${output_dir}/layout_pictures.rc)
  if(CMAKE_CROSSCOMPILING)
    find_program(KORVAIN_HOST_CXX NAMES g++ c++ clang++ REQUIRED)
    set(generator ${CMAKE_CURRENT_BINARY_DIR}/make_layout_pictures_host)
    add_custom_command(OUTPUT ${generator}
      COMMAND ${KORVAIN_HOST_CXX} -std=c++17 -O1 -Wall -Wextra -Wshadow -Werror
              ${KORVAIN_PICTURE_SOURCES} -o ${generator}
      DEPENDS ${KORVAIN_PICTURE_SOURCES} ${KORVAIN_PICTURE_HEADERS}
      COMMENT "Building the picture generator for the build machine")
    set(generator_dependency ${generator})
  else()
    set(generator $<TARGET_FILE:make_layout_pictures>)
    set(generator_dependency make_layout_pictures)
  endif()
  add_custom_command(OUTPUT ${script}
    COMMAND ${generator} ${output_dir}
    DEPENDS ${generator_dependency}
    COMMENT "Drawing the Layout page's pictures")
  set(${rc_variable} ${script} PARENT_SCOPE)
endfunction()
