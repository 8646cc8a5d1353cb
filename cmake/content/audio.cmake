# Sounds and music of the game, synthesized from the recipes under
# assets/audio: sfx/<name>.snd -> game/snd/<name>.ogg, music/<name>.snd ->
# game/music/<name>.ogg. One command per recipe, so only a changed recipe (or
# a changed synthesizer) is rendered again.
file(GLOB audio_sfx_recipes CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/audio/sfx/*.snd)
file(GLOB audio_music_recipes CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/audio/music/*.snd)

function(brimble_audio recipe subdir)
  get_filename_component(name ${recipe} NAME_WE)
  set(out ${BRIMBLE_GAME_DIR}/${subdir}/${name}.ogg)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${BRIMBLE_GAME_DIR}/${subdir}
    COMMAND synth ${recipe} -o ${out}
    DEPENDS ${recipe} synth
    COMMENT "audio ${subdir}/${name}.ogg" VERBATIM)
  set_property(GLOBAL APPEND PROPERTY BRIMBLE_CONTENT_OUTPUTS ${out})
endfunction()

foreach(r ${audio_sfx_recipes})
  brimble_audio(${r} snd)
endforeach()
foreach(r ${audio_music_recipes})
  brimble_audio(${r} music)
endforeach()

# `cmake --build build --target audio-report`: length, peak, loudness and the
# loop-seam figures of every generated sound and track, as a table.
set(audio_outputs "")
foreach(r ${audio_sfx_recipes})
  get_filename_component(n ${r} NAME_WE)
  list(APPEND audio_outputs ${BRIMBLE_GAME_DIR}/snd/${n}.ogg)
endforeach()
foreach(r ${audio_music_recipes})
  get_filename_component(n ${r} NAME_WE)
  list(APPEND audio_outputs ${BRIMBLE_GAME_DIR}/music/${n}.ogg)
endforeach()
add_custom_target(audio-report
  COMMAND synth --report ${audio_outputs}
  DEPENDS ${audio_outputs} synth
  COMMENT "audio report" VERBATIM)
