# Who makes the program and the year of its copyright, for the version resource, the About
# page and the installer. The year is read from the licence's copyright line, so a new
# year is written in LICENSE alone.
set(BS_COMPANY "Quellmoor Software")
file(STRINGS ${CMAKE_SOURCE_DIR}/LICENSE bs_copyright_line REGEX "^Copyright \\(c\\) ")
if(NOT bs_copyright_line MATCHES "^Copyright \\(c\\) ([0-9][0-9][0-9][0-9]) ${BS_COMPANY}$")
  message(FATAL_ERROR "LICENSE has no line \"Copyright (c) <year> ${BS_COMPANY}\"")
endif()
set(BS_COPYRIGHT_YEAR ${CMAKE_MATCH_1})
set(BS_COPYRIGHT "Copyright © ${BS_COPYRIGHT_YEAR} ${BS_COMPANY}")
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${CMAKE_SOURCE_DIR}/LICENSE)
