# Dogs and owners: the pictures come from tools/artgen/dogs.py (art.cmake
# renders them); the dog table, the owner lines and the texts are committed
# under game/. Here: their checks and the review sheets under build/contact/dogs/.

get_property(dog_art GLOBAL PROPERTY BRIMBLE_ART_OUTPUTS)
list(FILTER dog_art INCLUDE REGEX "/gfx/(dogs|puzzle/pictures|gui/ubieranie)/")
file(GLOB dog_tools CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/dogs/*.py)
set(dog_texts ${BRIMBLE_GAME_DIR}/data/dogs.dat ${BRIMBLE_GAME_DIR}/txt/eng/dogs.txt
              ${BRIMBLE_GAME_DIR}/txt/eng/dogNames.txt ${BRIMBLE_GAME_DIR}/txt/eng/ubieranie.txt)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/contact/dogs/dogs_index.txt
  COMMAND ${BRIMBLE_PYTHON3} ${CMAKE_SOURCE_DIR}/tools/dogs/dog_sheets.py ${BRIMBLE_GAME_DIR} ${CMAKE_BINARY_DIR}/contact/dogs
  DEPENDS ${dog_art} ${dog_tools} ${dog_texts}
  COMMENT "dog review sheets in ${CMAKE_BINARY_DIR}/contact/dogs" VERBATIM)
set_property(GLOBAL APPEND PROPERTY BRIMBLE_REVIEW_OUTPUTS ${CMAKE_BINARY_DIR}/contact/dogs/dogs_index.txt)

if(BRIMBLE_TESTS)
  # The puzzle files the dog table names are made by the jigsaw content rules;
  # where those are part of the tree, they must exist too.
  set(dog_check_args ${BRIMBLE_GAME_DIR})
  if(EXISTS ${CMAKE_SOURCE_DIR}/cmake/content/jigsaw.cmake)
    list(APPEND dog_check_args --require-puzzles)
  endif()
  add_test(NAME content_dogs
    COMMAND ${BRIMBLE_PYTHON3} ${CMAKE_SOURCE_DIR}/tools/dogs/check_dogs.py ${dog_check_args})
  set_tests_properties(content_dogs PROPERTIES LABELS content TIMEOUT 120)
  add_test(NAME content_dogs_selftest
    COMMAND ${BRIMBLE_PYTHON3} ${CMAKE_SOURCE_DIR}/tools/dogs/test_check_dogs.py ${BRIMBLE_GAME_DIR})
  set_tests_properties(content_dogs_selftest PROPERTIES LABELS content TIMEOUT 120)
endif()
