# The game's icon, rendered from assets/art/icon/ into game/gfx/icon/ in every
# size a desktop asks for (the hicolor theme's 16 to 512 px). The window takes
# 16 to 256 at start-up; the install puts all of them into the icon theme.
# Below 32 px the simplified drawing is used: the full one would blur.
foreach(n ${BRIMBLE_ICON_SIZES})
  if(n LESS 32)
    set(src ${CMAKE_SOURCE_DIR}/assets/art/icon/brimble-small.svg)
  else()
    set(src ${CMAKE_SOURCE_DIR}/assets/art/icon/brimble.svg)
  endif()
  set(out ${BRIMBLE_GAME_DIR}/gfx/icon/brimble-${n}.png)
  # Rendered under a temporary name that still ends in .png (so git never
  # shows it), then renamed: an interrupted build leaves no half picture.
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${BRIMBLE_GAME_DIR}/gfx/icon
    COMMAND ${BRIMBLE_RSVG} -w ${n} -h ${n} -o ${out}.part.png ${src}
    COMMAND ${CMAKE_COMMAND} -E rename ${out}.part.png ${out}
    DEPENDS ${src} COMMENT "icon ${n} px" VERBATIM)
  set_property(GLOBAL APPEND PROPERTY BRIMBLE_CONTENT_OUTPUTS ${out})
endforeach()
