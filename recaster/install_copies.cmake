# The converter program and its copies. The standalone build goes to
# bin/recaster/; the two companion copies that soundwright starts go to
# bin/soundwright/WebFetch/WebFetch and bin/soundwright/ClipSoundPull/ClipSoundPull.
# Each folder gets its own profile (lame.dll) and the pictures and sounds.
# An optional "lib" folder beside an executable is searched first for the
# FFmpeg libraries.
set(RC_APP_DIR ${SW_BIN_DIR}/recaster)
add_executable(recaster ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
target_link_libraries(recaster PRIVATE rc_app)
set_target_properties(recaster PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${RC_APP_DIR}
  BUILD_RPATH "\$ORIGIN/lib"
  INSTALL_RPATH "\$ORIGIN/lib")

set(RC_DATA_DIR ${PROJECT_SOURCE_DIR}/data/recaster)
file(GLOB_RECURSE RC_SHARED_DATA CONFIGURE_DEPENDS RELATIVE ${RC_DATA_DIR}
  ${RC_DATA_DIR}/sounds/* ${RC_DATA_DIR}/icons/*)

# name;destination folder;profile folder
set(RC_COPIES
  "recaster|${RC_APP_DIR}|recaster"
  "WebFetch|${SW_BIN_DIR}/soundwright/WebFetch|WebFetch"
  "ClipSoundPull|${SW_BIN_DIR}/soundwright/ClipSoundPull|ClipSoundPull")

set(RC_DATA_OUT)
foreach(copy ${RC_COPIES})
  string(REPLACE "|" ";" parts "${copy}")
  list(GET parts 0 exe)
  list(GET parts 1 dir)
  list(GET parts 2 profile)
  foreach(f ${RC_SHARED_DATA})
    add_custom_command(OUTPUT ${dir}/${f}
      COMMAND ${CMAKE_COMMAND} -E copy ${RC_DATA_DIR}/${f} ${dir}/${f}
      DEPENDS ${RC_DATA_DIR}/${f})
    list(APPEND RC_DATA_OUT ${dir}/${f})
  endforeach()
  add_custom_command(OUTPUT ${dir}/lame.dll
    COMMAND ${CMAKE_COMMAND} -E copy ${RC_DATA_DIR}/profiles/${profile}/lame.dll ${dir}/lame.dll
    DEPENDS ${RC_DATA_DIR}/profiles/${profile}/lame.dll)
  list(APPEND RC_DATA_OUT ${dir}/lame.dll)
  if(NOT exe STREQUAL "recaster")
    add_custom_command(TARGET recaster POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
      COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:recaster> ${dir}/${exe})
  endif()
endforeach()
add_custom_target(recaster_data ALL DEPENDS ${RC_DATA_OUT})
add_dependencies(recaster recaster_data)
