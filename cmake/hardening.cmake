# The Windows program hardened as far as mingw-w64 goes when linked statically: stack
# protector and fortified functions (both from the static libssp), and marked for Remote
# Desktop and thin clients, where Windows would otherwise apply its compatibility shims. ASLR
# and DEP are the linker's defaults. Debug builds keep -O0, under which fortification
# cannot work.
if(WIN32)
  add_compile_options(-fstack-protector-strong $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
  add_link_options(-fstack-protector-strong -Wl,--tsaware)
  return()
endif()

# The Linux program hardened as Debian hardens its packages: the flags come from
# dpkg-buildflags with every hardening feature on, so they follow the system's own policy.
# This dpkg's "+all" stops short of stack-clash and control-flow protection; a newer one
# has both, and a package maintainer asks for them through its MAINT_APPEND variables, the
# control-flow flag the one the target processor has.
# Only the hardening is taken: the build type chooses optimisation and debugging
# information, and the build folder's path is mapped away elsewhere.
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT DPKG_BUILDFLAGS)
  message(WARNING "dpkg-buildflags not found (dpkg-dev): the program is built without hardening")
  return()
endif()
include(${CMAKE_CURRENT_LIST_DIR}/processor_hardening.cmake)
kestramo_processor_hardening("${CMAKE_SYSTEM_PROCESSOR}" control_flow)
set(hardening_environment
  DEB_BUILD_MAINT_OPTIONS=hardening=+all
  "DEB_CPPFLAGS_MAINT_APPEND="
  "DEB_CXXFLAGS_MAINT_APPEND=-fstack-clash-protection ${control_flow}"
  "DEB_LDFLAGS_MAINT_APPEND=")
foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DEB_BUILD_OPTIONS --unset=DEB_${kind}_SET
            --unset=DEB_${kind}_APPEND --unset=DEB_${kind}_STRIP ${hardening_environment}
            ${DPKG_BUILDFLAGS} --get ${kind}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  list(FILTER flags EXCLUDE REGEX "^-O|^-g$|prefix-map=")
  list(REMOVE_DUPLICATES flags)
  set(hardening_${kind} ${flags})
endforeach()
message(STATUS "Hardening: ${hardening_CPPFLAGS} ${hardening_CXXFLAGS} ${hardening_LDFLAGS}")
# Fortification needs optimisation: a Debug build (-O0, and the sanitizers' build) goes without.
foreach(flag ${hardening_CPPFLAGS} ${hardening_CXXFLAGS})
  if(flag MATCHES "^-D_FORTIFY_SOURCE")
    add_compile_options($<$<NOT:$<CONFIG:Debug>>:${flag}>)
  else()
    add_compile_options(${flag})
  endif()
endforeach()
add_link_options(${hardening_LDFLAGS})
