# GoogleTest built from Debian's sources (the googletest package) with the compiler of the
# including project. Its warnings are not ours: they are silenced, so -Werror passes.
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(t gtest gtest_main gmock gmock_main)
  if(TARGET ${t})
    target_compile_options(${t} PRIVATE -w)
  endif()
endforeach()
