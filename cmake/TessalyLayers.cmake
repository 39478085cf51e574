# The program's core (runs, imaging, settings, the gallery's writers, the
# command line) stays out of the window layer; the build enforces it twice.
#
# tessaly_core_library(target): before `target` compiles, its sources are
# checked for includes of window-layer headers (cmake/CheckLayers.cmake),
# and the target is remembered for tessaly_check_core_links(). The sources
# are read at the end of the configuration, so that files added later with
# target_sources, from any folder, are checked as well.
function(tessaly_core_library target)
  # A deferred call reads its arguments when it runs: the name goes in now.
  cmake_language(EVAL CODE
    "cmake_language(DEFER DIRECTORY [[${PROJECT_SOURCE_DIR}]] CALL _tessaly_check_core_sources [[${target}]])")
  set_property(GLOBAL APPEND PROPERTY TESSALY_CORE_TARGETS ${target})
endfunction()

# Runs at the end of the top folder, when every source of `target` is known.
function(_tessaly_check_core_sources target)
  get_target_property(sources ${target} SOURCES)
  get_target_property(folder ${target} SOURCE_DIR)
  set(files "")
  foreach(source IN LISTS sources)
    if(source MATCHES "^\\$<")
      message(FATAL_ERROR "${target}: the layer check cannot read the source ${source}")
    endif()
    if(NOT IS_ABSOLUTE "${source}")
      set(source "${folder}/${source}")
    endif()
    list(APPEND files "${source}")
  endforeach()
  if(NOT files)
    message(FATAL_ERROR "${target} has no sources for the layer check")
  endif()
  # Semicolons do not survive a custom command's arguments.
  string(REPLACE ";" "|" file_list "${files}")
  file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/layers")
  set(stamp "${CMAKE_BINARY_DIR}/layers/${target}.stamp")
  add_custom_command(
    OUTPUT "${stamp}"
    COMMAND ${CMAKE_COMMAND} "-DSTAMP=${stamp}" "-DFILES=${file_list}"
            -P "${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake"
    DEPENDS ${files} "${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake"
    COMMENT "Checking that ${target} stays out of the window layer"
    VERBATIM)
  add_custom_target(${target}_layers DEPENDS "${stamp}")
  add_dependencies(${target} ${target}_layers)
endfunction()

# Everything `target` links, directly or through other targets.
function(_tessaly_link_closure target out)
  set(seen "")
  set(pending ${target})
  while(pending)
    list(POP_FRONT pending current)
    if(current IN_LIST seen OR NOT TARGET ${current})
      continue()
    endif()
    list(APPEND seen ${current})
    get_target_property(aliased ${current} ALIASED_TARGET)
    if(aliased)
      list(APPEND pending ${aliased})
    endif()
    get_target_property(type ${current} TYPE)
    set(properties INTERFACE_LINK_LIBRARIES)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      list(APPEND properties LINK_LIBRARIES)
    endif()
    foreach(property IN LISTS properties)
      get_target_property(libraries ${current} ${property})
      if(libraries)
        foreach(library IN LISTS libraries)
          if(NOT library MATCHES "^\\$<")
            list(APPEND pending ${library})
          endif()
        endforeach()
      endif()
    endforeach()
  endwhile()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# Fails the configuration when a core library or one of `programs` links
# Qt Widgets or a window-layer library.
function(tessaly_check_core_links)
  get_property(core GLOBAL PROPERTY TESSALY_CORE_TARGETS)
  foreach(target IN LISTS core ARGN)
    _tessaly_link_closure(${target} closure)
    foreach(forbidden Qt6::Widgets tessaly_platform_widgets tessaly_widgets tessaly_app tessaly_app_rules
                      tessaly_about tessaly_filetools tessaly_viewer tessaly_gallery_dialogs)
      if(forbidden IN_LIST closure)
        message(FATAL_ERROR "${target} links ${forbidden}; the core must not need the window layer")
      endif()
    endforeach()
  endforeach()
endfunction()
