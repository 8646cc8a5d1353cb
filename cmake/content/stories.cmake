# Comic stories: the story files and texts are committed under game/ (written
# by tools/stories/stories.py from its table); their pictures come from the
# art rule (tools/artgen/story.py). Here: previews of every story picture with
# its speech boxes, drawn as the story screen draws them, and the tests.

set(story_files ${BRIMBLE_GAME_DIR}/data/story-1.dat ${BRIMBLE_GAME_DIR}/data/story-2.dat
    ${BRIMBLE_GAME_DIR}/data/story-3.dat ${BRIMBLE_GAME_DIR}/txt/eng/story-comic.txt
    ${BRIMBLE_GAME_DIR}/txt/eng/story.txt ${BRIMBLE_GAME_DIR}/gfx/gui/story/story.gui)

if(TARGET storyshot)
  get_property(story_art GLOBAL PROPERTY BRIMBLE_ART_OUTPUTS)
  set(story_preview_dir ${CMAKE_BINARY_DIR}/contact/story)
  # One preview per picture: storyN_P.png for P = 1 ... the file's "i".
  set(story_previews "")
  foreach(n 1 2 3)
    file(STRINGS ${BRIMBLE_GAME_DIR}/data/story-${n}.dat count REGEX "^[ \t]*i[ \t]*=" LIMIT_COUNT 1)
    string(REGEX REPLACE "[^0-9]" "" count "${count}")
    if(count)
      foreach(p RANGE 1 ${count})
        list(APPEND story_previews ${story_preview_dir}/story${n}_${p}.png)
      endforeach()
    endif()
  endforeach()
  set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${BRIMBLE_GAME_DIR}/data/story-1.dat ${BRIMBLE_GAME_DIR}/data/story-2.dat ${BRIMBLE_GAME_DIR}/data/story-3.dat)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/contact/stories.png
    COMMAND ${CMAKE_COMMAND} -E remove_directory ${story_preview_dir}
    COMMAND storyshot --data ${BRIMBLE_GAME_DIR} --out ${story_preview_dir}
    COMMAND ${BRIMBLE_PYTHON3} ${CMAKE_SOURCE_DIR}/tools/contact/contact.py ${CMAKE_BINARY_DIR}/contact/stories.png
            "comic stories" --cell 500 --bg dark ${story_previews}
    DEPENDS storyshot ${story_art} ${story_files} ${contact_sources}
    COMMENT "story previews in ${story_preview_dir}" VERBATIM)
  set_property(GLOBAL APPEND PROPERTY BRIMBLE_REVIEW_OUTPUTS ${CMAKE_BINARY_DIR}/contact/stories.png)
endif()

if(BRIMBLE_TESTS)
  # The story files follow the reading rules and name only files and lines
  # that exist; the committed files are what the table writes.
  add_test(NAME content_story_files
    COMMAND ${BRIMBLE_PYTHON3} ${CMAKE_SOURCE_DIR}/tools/stories/check_stories.py ${BRIMBLE_GAME_DIR})
  set_tests_properties(content_story_files PROPERTIES LABELS content TIMEOUT 120)
  add_test(NAME content_story_check_selftest
    COMMAND ${BRIMBLE_PYTHON3} ${CMAKE_SOURCE_DIR}/tools/stories/test_stories.py)
  set_tests_properties(content_story_check_selftest PROPERTIES LABELS content TIMEOUT 120)
  # Every box and its text fit, measured with the game's own fonts and
  # wrapping, and no frame or tail leaves the screen or covers the controls.
  if(TARGET storyshot)
    add_test(NAME content_story_layout COMMAND storyshot --data ${BRIMBLE_GAME_DIR} --check)
    set_tests_properties(content_story_layout PROPERTIES LABELS content TIMEOUT 120)
  endif()
endif()
