# Fails the build when a program has grown past its size limit, and removes
# it, so that an oversized program is neither shipped nor tested.
#   cmake -DFILE=path -DLIMIT=bytes -P SizeLimit.cmake
file(SIZE "${FILE}" size)
if(size GREATER LIMIT)
  file(REMOVE "${FILE}")
  message(FATAL_ERROR "${FILE} has grown to ${size} bytes, past its limit of ${LIMIT} bytes")
endif()
