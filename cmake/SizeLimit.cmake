# Fails the build when the shipped program has grown past its size limit, and
# removes it, so that an oversized program is neither shipped nor tested. Only
# the shipped configuration (MinSizeRel) is held to it: another one is a
# developer's build, larger by its nature.
#   cmake -DFILE=path -DLIMIT=bytes [-DCONFIG=configuration] -P SizeLimit.cmake
if(DEFINED CONFIG AND NOT CONFIG STREQUAL "MinSizeRel")
  return()
endif()
file(SIZE "${FILE}" size)
if(size GREATER LIMIT)
  file(REMOVE "${FILE}")
  message(FATAL_ERROR "${FILE} has grown to ${size} bytes, past its limit of ${LIMIT} bytes")
endif()
