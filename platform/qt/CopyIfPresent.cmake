# cmake -DSOURCE=<file> -DDESTINATION=<file> -P CopyIfPresent.cmake
# Copies SOURCE to DESTINATION when SOURCE exists and differs; does nothing otherwise.
if(EXISTS "${SOURCE}")
  file(COPY_FILE "${SOURCE}" "${DESTINATION}" ONLY_IF_DIFFERENT)
endif()
