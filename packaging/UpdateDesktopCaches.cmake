# Run at install time after the desktop files are in place: refreshes the
# MIME database, the menu's MIME cache and the icon cache of the prefix, so a
# desktop sees Korvid and Velmo sources at once. Staged installs (DESTDIR)
# are left to the package manager; a missing tool is no error.
if(NOT "$ENV{DESTDIR}" STREQUAL "")
  return()
endif()
set(data "${CMAKE_INSTALL_PREFIX}/${VELMO_INSTALL_DATADIR}")

find_program(velmo_mime_tool update-mime-database)
if(velmo_mime_tool)
  execute_process(COMMAND ${velmo_mime_tool} "${data}/mime" OUTPUT_QUIET ERROR_QUIET)
endif()
find_program(velmo_desktop_tool update-desktop-database)
if(velmo_desktop_tool)
  execute_process(COMMAND ${velmo_desktop_tool} -q "${data}/applications" OUTPUT_QUIET ERROR_QUIET)
endif()
find_program(velmo_icon_tool gtk-update-icon-cache)
if(velmo_icon_tool)
  execute_process(COMMAND ${velmo_icon_tool} -q -t -f "${data}/icons/hicolor" OUTPUT_QUIET ERROR_QUIET)
endif()
