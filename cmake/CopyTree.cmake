# Copies SOURCE into DEST, writing only files whose content changed, so files the
# program wrote into DEST (settings, logs) stay.
file(GLOB_RECURSE files RELATIVE "${SOURCE}" "${SOURCE}/*")
foreach(f IN LISTS files)
  configure_file("${SOURCE}/${f}" "${DEST}/${f}" COPYONLY)
endforeach()
