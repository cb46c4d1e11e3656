# Remakes generated data into a scratch folder and compares it with the checked-in files.
#   cmake -DGENERATOR=... -DARGS=... -DSCRATCH=... -DOUTPUTS=a;b -DCHECKED_IN=dir -DSOURCE=file -P check_generated.cmake
# Exits with 77 (skipped) when the source font files are not installed.
if(NOT EXISTS "${SOURCE}")
  message("skipped: ${SOURCE} is not installed (Debian package xfonts-base)")
  cmake_language(EXIT 77)
endif()
file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
separate_arguments(args UNIX_COMMAND "${ARGS}")
execute_process(COMMAND "${GENERATOR}" ${args} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${GENERATOR} failed: ${rc}")
endif()
foreach(name IN LISTS OUTPUTS)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${SCRATCH}/${name}" "${CHECKED_IN}/${name}"
                  RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "${CHECKED_IN}/${name} differs from what the generator makes now")
  endif()
endforeach()
