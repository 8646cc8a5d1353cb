# cmake -DRSVG=... -DSRC=in.svg -DOUT=out.png -P render_svg.cmake
# Renders one SVG; a missing or broken source stops the build with its name.
if(NOT EXISTS "${SRC}")
  message(FATAL_ERROR "art: missing source ${SRC}")
endif()
get_filename_component(dir "${OUT}" DIRECTORY)
file(MAKE_DIRECTORY "${dir}")
# The temporary name still ends in .png, so an interrupted build leaves nothing
# that git would show.
set(part "${OUT}.part.png")
execute_process(COMMAND "${RSVG}" -o "${part}" "${SRC}"
  RESULT_VARIABLE rv ERROR_VARIABLE err OUTPUT_QUIET)
if(NOT rv EQUAL 0)
  file(REMOVE "${part}")
  message(FATAL_ERROR "art: cannot render ${SRC}: ${err}")
endif()
file(RENAME "${part}" "${OUT}")
