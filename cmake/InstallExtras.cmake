# Runs at install time, after the files are in place: what depends on the prefix the program
# is installed to. Set before: WG_SOURCE_DIR, WG_HOST_WGET (empty without one).

get_filename_component(wg_prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(wg_root "$ENV{DESTDIR}${wg_prefix}")
set(wg_home lib/webgrazer)

# The first preset reads the sample page from the installed program's folder.
set(WG_APP_DIR "${wg_prefix}/${wg_home}/Webgrazer")
set(wg_presets "${wg_root}/${wg_home}/Webgrazer/Presets.txt")
message(STATUS "Installing: ${wg_presets}")
configure_file("${WG_SOURCE_DIR}/data/Presets.txt.in" "${wg_presets}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${wg_presets}")

# The system folder's wget is the host's.
if(WG_HOST_WGET)
	set(wg_wget "${wg_root}/${wg_home}/system/bin/wget")
	message(STATUS "Installing: ${wg_wget} -> ${WG_HOST_WGET}")
	file(MAKE_DIRECTORY "${wg_root}/${wg_home}/system/bin")
	file(REMOVE "${wg_wget}")
	file(CREATE_LINK "${WG_HOST_WGET}" "${wg_wget}" SYMBOLIC)
	list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${wg_wget}")
endif()

# The command: a link to the executable in the program's folder (which finds its libraries
# and folders from where it really is).
set(wg_command "${wg_root}/bin/webgrazer")
message(STATUS "Installing: ${wg_command}")
file(MAKE_DIRECTORY "${wg_root}/bin")
file(REMOVE "${wg_command}")
file(CREATE_LINK "../${wg_home}/Webgrazer/Webgrazer" "${wg_command}" SYMBOLIC)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${wg_command}")

# The menu entry starts the command by its full path, which need not be in PATH.
set(WG_DESKTOP_TRYEXEC "${wg_prefix}/bin/webgrazer")
string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" wg_quoted "${WG_DESKTOP_TRYEXEC}")
string(REPLACE "\\" "\\\\" wg_quoted "${wg_quoted}")
set(WG_DESKTOP_EXEC "\"${wg_quoted}\"")
set(wg_desktop "${wg_root}/share/applications/webgrazer.desktop")
message(STATUS "Installing: ${wg_desktop}")
configure_file("${WG_SOURCE_DIR}/data/webgrazer.desktop.in" "${wg_desktop}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${wg_desktop}")
