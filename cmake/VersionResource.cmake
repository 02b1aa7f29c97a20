# Version information for the binaries that ship: the one version number of
# the project (project(VERSION) in the top CMakeLists.txt), the product name
# and a description of the file in English, Traditional Chinese and
# Simplified Chinese, as a VERSIONINFO resource generated from version.rc.in.
set(LUMORA_VERSION_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/version.rc.in)

function(lumora_version_resource target english traditional simplified)
  # A binary carries one VERSIONINFO; a second call for it changes nothing.
  get_target_property(done ${target} LUMORA_VERSION_RESOURCE)
  if(done)
    return()
  endif()
  get_target_property(type ${target} TYPE)
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  if(type STREQUAL "EXECUTABLE")
    set(LUMORA_VERSION_FILETYPE VFT_APP)
    set(LUMORA_VERSION_FILE ${name}.exe)
  else()
    set(LUMORA_VERSION_FILETYPE VFT_DLL)
    set(LUMORA_VERSION_FILE ${name}.dll)
  endif()
  set(LUMORA_VERSION_NAME ${name})
  set(LUMORA_VERSION_ENGLISH "${english}")
  set(LUMORA_VERSION_TRADITIONAL "${traditional}")
  set(LUMORA_VERSION_SIMPLIFIED "${simplified}")
  set(rc ${CMAKE_BINARY_DIR}/version/${target}_version.rc)
  configure_file(${LUMORA_VERSION_TEMPLATE} ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_target_properties(${target} PROPERTIES LUMORA_VERSION_RESOURCE ON)
endfunction()
