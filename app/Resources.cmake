# The program's icon, version information and manifest, configured from the project
# version, and what the exe's header says. Included by app/CMakeLists.txt once the
# brightsweep target exists.
set(BS_ICON_FILE ${CMAKE_SOURCE_DIR}/res/brightsweep.ico)
set(BS_MANIFEST_FILE ${CMAKE_CURRENT_BINARY_DIR}/brightsweep.manifest)
configure_file(${CMAKE_CURRENT_LIST_DIR}/brightsweep.manifest.in ${BS_MANIFEST_FILE} @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.rc.in ${CMAKE_CURRENT_BINARY_DIR}/version.rc @ONLY)
target_sources(brightsweep PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/version.rc)
# The version and copyright line of the About page, from the same place.
configure_file(${CMAKE_CURRENT_LIST_DIR}/ProductInfo.h.in
               ${CMAKE_BINARY_DIR}/generated/app/ProductInfo.h @ONLY)
target_include_directories(bs_app PUBLIC ${CMAKE_BINARY_DIR}/generated)
# windres does not see what the .rc pulls in: rebuild it when the icon or manifest change.
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/version.rc PROPERTIES
  OBJECT_DEPENDS "${BS_ICON_FILE};${BS_MANIFEST_FILE};${CMAKE_CURRENT_LIST_DIR}/AppResources.h")

# Some MinGW-w64 toolchains link a default-manifest.o of their own (a second RT_MANIFEST
# resource that would clash with ours). Where the compiler has one, put an empty object
# of that name first on its start-file search path.
if(NOT MSVC)
  execute_process(COMMAND ${CMAKE_C_COMPILER} -print-file-name=default-manifest.o
                  OUTPUT_VARIABLE bs_default_manifest OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(IS_ABSOLUTE "${bs_default_manifest}" AND EXISTS "${bs_default_manifest}")
    set(bs_no_manifest_dir ${CMAKE_CURRENT_BINARY_DIR}/no-default-manifest)
    file(MAKE_DIRECTORY ${bs_no_manifest_dir})
    file(WRITE ${bs_no_manifest_dir}/empty.c "typedef int bs_no_default_manifest;\n")
    execute_process(COMMAND ${CMAKE_C_COMPILER} -c ${bs_no_manifest_dir}/empty.c
                            -o ${bs_no_manifest_dir}/default-manifest.o
                    RESULT_VARIABLE bs_rc)
    if(NOT bs_rc EQUAL 0)
      message(FATAL_ERROR "could not build an empty default-manifest.o")
    endif()
    target_link_options(brightsweep PRIVATE -B${bs_no_manifest_dir}/)
  endif()
endif()

# The header names the oldest Windows the program runs on: Vista (6.0), whose entry points
# it uses. The shipped build carries no symbols or debug sections (tools/package checks).
if(MSVC)
  target_link_options(brightsweep PRIVATE /SUBSYSTEM:WINDOWS,6.0)
else()
  target_link_options(brightsweep PRIVATE
    -Wl,--subsystem,windows:6.0 -Wl,--major-os-version,6 -Wl,--minor-os-version,0
    $<$<CONFIG:Release,MinSizeRel>:-s>)
endif()
