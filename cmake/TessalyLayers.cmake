# The program's core (runs, imaging, settings, the gallery's writers, the
# command line) stays out of the window layer; the build enforces it twice.
#
# tessaly_core_library(target): before `target` compiles, its sources are
# checked for includes of window-layer headers (cmake/CheckLayers.cmake),
# and the target is remembered for tessaly_check_core_links().
function(tessaly_core_library target)
  get_target_property(sources ${target} SOURCES)
  get_target_property(folder ${target} SOURCE_DIR)
  set(files "")
  foreach(source IN LISTS sources)
    if(NOT IS_ABSOLUTE "${source}")
      set(source "${folder}/${source}")
    endif()
    list(APPEND files "${source}")
  endforeach()
  # Semicolons do not survive a custom command's arguments.
  string(REPLACE ";" "|" file_list "${files}")
  set(stamp "${CMAKE_CURRENT_BINARY_DIR}/${target}_layers.stamp")
  add_custom_command(
    OUTPUT "${stamp}"
    COMMAND ${CMAKE_COMMAND} "-DSTAMP=${stamp}" "-DFILES=${file_list}"
            -P "${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake"
    DEPENDS ${files} "${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake"
    COMMENT "Checking that ${target} stays out of the window layer"
    VERBATIM)
  add_custom_target(${target}_layers DEPENDS "${stamp}")
  add_dependencies(${target} ${target}_layers)
  set_property(GLOBAL APPEND PROPERTY TESSALY_CORE_TARGETS ${target})
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
                      tessaly_about tessaly_filetools)
      if(forbidden IN_LIST closure)
        message(FATAL_ERROR "${target} links ${forbidden}; the core must not need the window layer")
      endif()
    endforeach()
  endforeach()
endfunction()
