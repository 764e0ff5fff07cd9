# The listing face "Courier Dos": DejaVu Sans Mono from Debian's
# fonts-dejavu-core (free licence, fixed pitch, with the box-drawing and shade
# characters), copied beside the program as Vantu.TTF.
set(VANTU_LISTING_FONT /usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf
    CACHE FILEPATH "Font file installed beside the program as Vantu.TTF")

# Copies the font next to target's executable after each build.
function(vantu_copy_listing_font target)
  if(NOT EXISTS "${VANTU_LISTING_FONT}")
    message(WARNING "${VANTU_LISTING_FONT} not found: the listing viewer will be refused "
                    "(install fonts-dejavu-core)")
    return()
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
                     COMMAND ${CMAKE_COMMAND} -E copy_if_different "${VANTU_LISTING_FONT}"
                             "$<TARGET_FILE_DIR:${target}>/Vantu.TTF"
                     VERBATIM)
endfunction()
