# Pictures and fonts of the game.
#
# tools/artgen draws SVG (at configure time, rewriting only what changed) into
# build/art/svg/<path under game/>.svg; hand-written SVG lives under
# assets/art/svg/ with the same naming. Each SVG becomes one custom command, so
# only changed pictures are rendered again. Names ending in ".jpg" are rendered
# to PNG and turned into JPEG by art_jpeg.

find_program(BRIMBLE_RSVG rsvg-convert)
if(NOT BRIMBLE_RSVG)
  message(FATAL_ERROR "rsvg-convert not found (Debian package librsvg2-bin; run tools/install-deps.sh)")
endif()
# Debian's own python3 first: the tools use its standard library only.
find_program(BRIMBLE_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
if(NOT BRIMBLE_PYTHON3)
  find_program(BRIMBLE_PYTHON3 NAMES python3 REQUIRED)
endif()

set(art_svg_dir ${CMAKE_BINARY_DIR}/art/svg)
set(art_palette ${CMAKE_SOURCE_DIR}/assets/art/palette.json)
file(GLOB artgen_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/artgen/*.py)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${artgen_sources} ${art_palette})
execute_process(
  COMMAND ${BRIMBLE_PYTHON3} ${CMAKE_SOURCE_DIR}/tools/artgen/artgen.py ${art_palette} ${art_svg_dir}
  RESULT_VARIABLE artgen_rv OUTPUT_VARIABLE artgen_out ERROR_VARIABLE artgen_err)
if(NOT artgen_rv EQUAL 0)
  message(FATAL_ERROR "tools/artgen/artgen.py failed:\n${artgen_err}")
endif()
message(STATUS "${artgen_out}")

set(art_outputs "")
set(art_render ${CMAKE_SOURCE_DIR}/tools/artgen/render_svg.cmake)
function(brimble_art_svg svg rel)
  set(out ${BRIMBLE_GAME_DIR}/${rel})
  if(rel MATCHES "\\.jpg$")
    set(png ${CMAKE_BINARY_DIR}/art/jpgsrc/${rel}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -DRSVG=${BRIMBLE_RSVG} -DSRC=${svg} -DOUT=${png} -P ${art_render}
      DEPENDS ${svg} ${art_render} VERBATIM)
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${BRIMBLE_GAME_DIR}
      COMMAND art_jpeg ${png} ${out} 90
      DEPENDS ${png} art_jpeg COMMENT "art ${rel}" VERBATIM)
  else()
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -DRSVG=${BRIMBLE_RSVG} -DSRC=${svg} -DOUT=${out} -P ${art_render}
      DEPENDS ${svg} ${art_render} COMMENT "art ${rel}" VERBATIM)
  endif()
  set_property(GLOBAL APPEND PROPERTY BRIMBLE_CONTENT_OUTPUTS ${out})
  set_property(GLOBAL APPEND PROPERTY BRIMBLE_ART_OUTPUTS ${out})
endfunction()

file(GLOB_RECURSE art_generated ${art_svg_dir}/*.svg)
file(GLOB_RECURSE art_hand CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/art/svg/*.svg)
foreach(svg ${art_generated})
  file(RELATIVE_PATH rel ${art_svg_dir} ${svg})
  string(REGEX REPLACE "\\.svg$" "" rel ${rel})
  brimble_art_svg(${svg} ${rel})
endforeach()
foreach(svg ${art_hand})
  file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR}/assets/art/svg ${svg})
  string(REGEX REPLACE "\\.svg$" "" rel ${rel})
  brimble_art_svg(${svg} ${rel})
endforeach()

# Fonts, copied from Debian packages: TeX Gyre Bonum (fonts-texgyre) is the
# Bookman-style face; DejaVu Sans Condensed Bold (fonts-dejavu-extra) the
# condensed display face. FreeType reads the OpenType file under a .ttf name.
find_file(BRIMBLE_FONT_BONUM texgyrebonum-regular.otf
  PATHS /usr/share/texmf/fonts/opentype/public/tex-gyre /usr/share/fonts/opentype/texgyre
  NO_DEFAULT_PATH)
find_file(BRIMBLE_FONT_CONDENSED DejaVuSansCondensed-Bold.ttf
  PATHS /usr/share/fonts/truetype/dejavu NO_DEFAULT_PATH)
if(NOT BRIMBLE_FONT_BONUM OR NOT BRIMBLE_FONT_CONDENSED)
  message(FATAL_ERROR "fonts missing: install fonts-texgyre and fonts-dejavu-extra (tools/install-deps.sh)")
endif()
foreach(pair "${BRIMBLE_FONT_BONUM}|gfx/fonts/Bookman.ttf"
             "${BRIMBLE_FONT_CONDENSED}|gfx/fonts/bluehigh.ttf"
             "${BRIMBLE_FONT_CONDENSED}|gfx/gui/loseScreen/font.ttf")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 src)
  list(GET pair 1 rel)
  add_custom_command(OUTPUT ${BRIMBLE_GAME_DIR}/${rel}
    COMMAND ${CMAKE_COMMAND} -E copy ${src} ${BRIMBLE_GAME_DIR}/${rel}
    DEPENDS ${src} COMMENT "font ${rel}" VERBATIM)
  set_property(GLOBAL APPEND PROPERTY BRIMBLE_CONTENT_OUTPUTS ${BRIMBLE_GAME_DIR}/${rel})
endforeach()

# Contact sheets and a board mock-up for review, under build/contact/.
get_property(art_all GLOBAL PROPERTY BRIMBLE_ART_OUTPUTS)
set(contact_tool ${CMAKE_SOURCE_DIR}/tools/contact/contact_sheets.py)
file(GLOB contact_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/contact/*.py)
file(GLOB art_tables CONFIGURE_DEPENDS ${BRIMBLE_GAME_DIR}/data/*.dat)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/contact/index.txt
  COMMAND ${BRIMBLE_PYTHON3} ${contact_tool} ${BRIMBLE_GAME_DIR} ${CMAKE_BINARY_DIR}/contact
  DEPENDS ${art_all} ${contact_sources} ${art_tables}
  COMMENT "contact sheets and board mock-up in ${CMAKE_BINARY_DIR}/contact" VERBATIM)
set_property(GLOBAL APPEND PROPERTY BRIMBLE_REVIEW_OUTPUTS ${CMAKE_BINARY_DIR}/contact/index.txt)

# The same showcase board drawn by the real engine (tools/boardshot), in both
# tile sets: proof that the pictures and the tables fit the engine's drawing.
if(TARGET boardshot)
  set(showcase ${CMAKE_SOURCE_DIR}/assets/art/showcase.lvl)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/contact/engine_board.png ${CMAKE_BINARY_DIR}/contact/engine_board_set1.png
    COMMAND boardshot ${showcase} ${CMAKE_BINARY_DIR}/contact/engine_board.png --back 1
    COMMAND boardshot ${showcase} ${CMAKE_BINARY_DIR}/contact/engine_board_set1.png --back 8 --tileset 1
    DEPENDS boardshot ${showcase} ${art_all} ${art_tables}
    COMMENT "engine board shots in ${CMAKE_BINARY_DIR}/contact" VERBATIM)
  set_property(GLOBAL APPEND PROPERTY BRIMBLE_REVIEW_OUTPUTS ${CMAKE_BINARY_DIR}/contact/engine_board.png)

  # Every campaign level as the engine draws it, 12 levels a sheet
  # (contact/levels_1.png holds levels 1-12, and so on): one sheet of all 191
  # embedded shots (about 0.5 MB each) is more than rsvg-convert reads.
  file(GLOB campaign_levels CONFIGURE_DEPENDS ${BRIMBLE_GAME_DIR}/data/levels/*.lvl)
  if(campaign_levels)
    set(level_sheets "")
    foreach(lvl ${campaign_levels})
      get_filename_component(n ${lvl} NAME_WE)
      set(shot ${CMAKE_BINARY_DIR}/contact/levels/${n}.png)
      add_custom_command(OUTPUT ${shot}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/contact/levels
        COMMAND boardshot ${lvl} ${shot}
        DEPENDS boardshot ${lvl} ${art_all} ${art_tables} VERBATIM)
      string(REGEX MATCH "[0-9]+$" num ${n})
      if(NOT num)
        set(num 1)
      endif()
      math(EXPR sheet "(${num} - 1) / 12 + 1")
      list(APPEND level_shots_${sheet} ${shot})
      list(APPEND level_sheets ${sheet})
    endforeach()
    list(REMOVE_DUPLICATES level_sheets)
    foreach(sheet ${level_sheets})
      set(out ${CMAKE_BINARY_DIR}/contact/levels_${sheet}.png)
      add_custom_command(OUTPUT ${out}
        COMMAND ${BRIMBLE_PYTHON3} ${CMAKE_SOURCE_DIR}/tools/contact/contact.py ${out}
                "campaign levels, sheet ${sheet}" --cell 380 --bg dark ${level_shots_${sheet}}
        DEPENDS ${level_shots_${sheet}} ${contact_sources} COMMENT "campaign level sheet ${sheet}" VERBATIM)
      set_property(GLOBAL APPEND PROPERTY BRIMBLE_REVIEW_OUTPUTS ${out})
    endforeach()
  endif()
endif()

# Every file a table names must exist once the content is built.
if(BRIMBLE_TESTS)
  add_test(NAME content_table_files
    COMMAND ${BRIMBLE_PYTHON3} ${CMAKE_SOURCE_DIR}/tools/contact/check_tables.py ${BRIMBLE_GAME_DIR})
  set_tests_properties(content_table_files PROPERTIES LABELS content TIMEOUT 120)
  # The check itself must catch what it is there for (and the table reader must read).
  add_test(NAME content_table_check_selftest
    COMMAND ${BRIMBLE_PYTHON3} ${CMAKE_SOURCE_DIR}/tools/contact/test_check_tables.py)
  set_tests_properties(content_table_check_selftest PROPERTIES LABELS content TIMEOUT 120)
  # Drawing the same palette twice gives the same SVG text (deterministic art).
  add_test(NAME content_art_deterministic
    COMMAND ${CMAKE_COMMAND} -DPY=${BRIMBLE_PYTHON3} -DGEN=${CMAKE_SOURCE_DIR}/tools/artgen/artgen.py
            -DPAL=${art_palette} -DREF=${art_svg_dir} -DTMP=${CMAKE_BINARY_DIR}/art/determinism
            -P ${CMAKE_SOURCE_DIR}/tools/artgen/check_deterministic.cmake)
  set_tests_properties(content_art_deterministic PROPERTIES LABELS content TIMEOUT 120)
endif()
