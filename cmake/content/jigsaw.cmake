# Jigsaw puzzles of the stages: each stage's picture
# gfx/puzzle/pictures/stageNN.png (drawn by the art rules) is cut by
# tools/jigsawcut into gfx/puzzle/stageNN/pieceKK.png and the puzzle file
# data/puzzles/stageNN.dat. A stage whose picture no art rule makes is skipped
# with a note, so the rule works before every picture is drawn.
#
# Pieces per stage and the grid that gives them (rows x columns); the seed of
# each cut is the stage number, so a stage is always cut the same way.
set(jigsaw_grids 3x4 3x4 4x4 4x4 4x5 4x5 4x6 5x5 5x6 5x6 6x6 6x7)

get_property(jigsaw_art GLOBAL PROPERTY BRIMBLE_ART_OUTPUTS)
set(jigsaw_previews "")
set(jigsaw_cut "")
set(jigsaw_skipped "")
set(stage 0)
foreach(grid ${jigsaw_grids})
  math(EXPR stage "${stage} + 1")
  if(stage LESS 10)
    set(nn "0${stage}")
  else()
    set(nn "${stage}")
  endif()
  set(picture ${BRIMBLE_GAME_DIR}/gfx/puzzle/pictures/stage${nn}.png)
  if(NOT picture IN_LIST jigsaw_art)
    list(APPEND jigsaw_skipped ${nn})
    continue()
  endif()
  string(REPLACE "x" ";" rc ${grid})
  list(GET rc 0 rows)
  list(GET rc 1 cols)
  math(EXPR count "${rows} * ${cols}")
  set(puzzle ${BRIMBLE_GAME_DIR}/data/puzzles/stage${nn}.dat)
  set(outputs ${puzzle})
  # A profile that has no jigsaw saved loads the default puzzle, stage 1's.
  set(copy_default "")
  if(stage EQUAL 1)
    set(default_puzzle ${BRIMBLE_GAME_DIR}/data/PuzzleLevels/puzzleLevel-1.dat)
    list(APPEND outputs ${default_puzzle})
    set(copy_default COMMAND ${CMAKE_COMMAND} -E copy ${puzzle} ${default_puzzle})
  endif()
  foreach(k RANGE 1 ${count})
    if(k LESS 10)
      list(APPEND outputs ${BRIMBLE_GAME_DIR}/gfx/puzzle/stage${nn}/piece0${k}.png)
    else()
      list(APPEND outputs ${BRIMBLE_GAME_DIR}/gfx/puzzle/stage${nn}/piece${k}.png)
    endif()
  endforeach()
  add_custom_command(OUTPUT ${outputs}
    COMMAND jigsawcut cut --picture ${picture} --grid ${grid}
            --pieces ${BRIMBLE_GAME_DIR}/gfx/puzzle/stage${nn} --url gfx/puzzle/stage${nn}
            --puzzle ${puzzle} --seed ${stage}
    ${copy_default}
    DEPENDS ${picture} jigsawcut
    COMMENT "jigsaw stage${nn}: ${count} pieces" VERBATIM)
  set_property(GLOBAL APPEND PROPERTY BRIMBLE_CONTENT_OUTPUTS ${outputs})
  list(APPEND jigsaw_cut ${nn})

  # For review: the solved puzzle, its pieces pulled apart and laid out
  # around the screen as the game does, under build/contact/jigsaw/.
  foreach(layout solved apart scattered)
    set(shot ${CMAKE_BINARY_DIR}/contact/jigsaw/stage${nn}_${layout}.png)
    add_custom_command(OUTPUT ${shot}
      COMMAND jigsawcut preview --puzzle ${puzzle} --data ${BRIMBLE_GAME_DIR} --out ${shot}
              --layout ${layout}
      DEPENDS ${outputs} jigsawcut VERBATIM)
    list(APPEND jigsaw_previews ${shot})
  endforeach()

  # The stage's puzzle checked against its picture: pieces cover it once,
  # each at its place, neighbours listed both ways, all on the board.
  if(BRIMBLE_TESTS)
    add_test(NAME content_jigsaw_stage${nn}
      COMMAND jigsawcut verify --puzzle ${puzzle} --data ${BRIMBLE_GAME_DIR} --picture ${picture})
    set_tests_properties(content_jigsaw_stage${nn} PROPERTIES LABELS content TIMEOUT 120)
  endif()
endforeach()

if(jigsaw_previews)
  # All of them on one sheet, stage by stage.
  set(jigsaw_sheet ${CMAKE_BINARY_DIR}/contact/jigsaw.png)
  add_custom_command(OUTPUT ${jigsaw_sheet}
    COMMAND ${BRIMBLE_PYTHON3} ${CMAKE_SOURCE_DIR}/tools/contact/contact.py ${jigsaw_sheet}
            "jigsaw puzzles: solved, apart, scattered" --cell 400 --bg dark ${jigsaw_previews}
    DEPENDS ${jigsaw_previews} ${CMAKE_SOURCE_DIR}/tools/contact/contact.py
    COMMENT "jigsaw contact sheet" VERBATIM)
  set_property(GLOBAL APPEND PROPERTY BRIMBLE_REVIEW_OUTPUTS ${jigsaw_previews} ${jigsaw_sheet})
endif()
if(jigsaw_cut)
  string(REPLACE ";" " " jigsaw_cut "${jigsaw_cut}")
  message(STATUS "jigsaw: cutting stages ${jigsaw_cut}")
endif()
if(jigsaw_skipped)
  string(REPLACE ";" " " jigsaw_skipped "${jigsaw_skipped}")
  message(STATUS "jigsaw: no art rule draws the picture of stages ${jigsaw_skipped} "
                 "(gfx/puzzle/pictures/stageNN.png); their puzzles are not cut")
endif()
