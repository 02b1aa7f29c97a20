# Unpacks a Debian source package into DEST (script mode:
# cmake -DPACKAGE=name -DDEST=dir -P DebianSource.cmake). apt-get source
# works in a scratch folder beside DEST; the unpacked tree is then renamed to
# DEST, so a later run finds it there and downloads nothing.
if(EXISTS "${DEST}/CMakeLists.txt")
  return()
endif()
set(scratch "${DEST}.download")
file(REMOVE_RECURSE "${scratch}" "${DEST}")
file(MAKE_DIRECTORY "${scratch}")
execute_process(COMMAND apt-get source -qq ${PACKAGE}
  WORKING_DIRECTORY "${scratch}"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "apt-get source ${PACKAGE} failed; tools/setup adds the "
                      "deb-src entry and dpkg-dev it needs")
endif()
file(GLOB unpacked LIST_DIRECTORIES true "${scratch}/${PACKAGE}-*")
list(FILTER unpacked EXCLUDE REGEX "\\.(tar|dsc|gz|xz)")
list(LENGTH unpacked count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "apt-get source ${PACKAGE} gave no single source tree")
endif()
file(RENAME "${unpacked}" "${DEST}")
file(REMOVE_RECURSE "${scratch}")
