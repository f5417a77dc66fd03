# Where everything lands when installed (GNUInstallDirs), and the build tree
# laid out the same way around its bin/ folder. Programs find their plug-ins,
# catalogues and theme by paths relative to their own folder, built in at
# compile time, so one binary works in the build tree, installed under any
# prefix and from a package, and no build-tree path is baked into it.
include(GNUInstallDirs)

set(SIM_INSTALL_APPLETDIR ${CMAKE_INSTALL_LIBDIR}/settings-host/applets)
set(SIM_INSTALL_TRANSLATIONSDIR ${CMAKE_INSTALL_DATADIR}/settings-host/translations)
set(SIM_INSTALL_THEMEDIR ${CMAKE_INSTALL_DATADIR}/zutoolkit/theme)
set(SIM_INSTALL_DBUS_POLICYDIR ${CMAKE_INSTALL_DATADIR}/dbus-1/system.d)
set(SIM_INSTALL_DBUS_SERVICEDIR ${CMAKE_INSTALL_DATADIR}/dbus-1/system-services)
# Not the multiarch library folder: systemd looks only here.
set(SIM_INSTALL_SYSTEMD_UNITDIR lib/systemd/system)

# sim_relative_path(<var> <from> <to>): the path from one install folder
# (relative to the prefix) to another.
function(sim_relative_path var from to)
    file(RELATIVE_PATH path ${CMAKE_INSTALL_PREFIX}/${from} ${CMAKE_INSTALL_PREFIX}/${to})
    if(path STREQUAL "")
        set(path .)
    endif()
    set(${var} ${path} PARENT_SCOPE)
endfunction()

sim_relative_path(SIM_APPLET_DIR_FROM_BINDIR ${CMAKE_INSTALL_BINDIR} ${SIM_INSTALL_APPLETDIR})
sim_relative_path(SIM_TRANSLATIONS_DIR_FROM_BINDIR ${CMAKE_INSTALL_BINDIR} ${SIM_INSTALL_TRANSLATIONSDIR})
sim_relative_path(SIM_THEME_DIR_FROM_BINDIR ${CMAKE_INSTALL_BINDIR} ${SIM_INSTALL_THEMEDIR})

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/${CMAKE_INSTALL_BINDIR})
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib)
get_filename_component(SIM_APPLET_DIR
    ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${SIM_APPLET_DIR_FROM_BINDIR} ABSOLUTE)
get_filename_component(SIM_TRANSLATIONS_DIR
    ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${SIM_TRANSLATIONS_DIR_FROM_BINDIR} ABSOLUTE)
get_filename_component(SIM_THEME_DIR
    ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${SIM_THEME_DIR_FROM_BINDIR} ABSOLUTE)

# The build tree's theme is the source folder itself, so that an edit shows
# at once.
get_filename_component(sim_theme_parent ${SIM_THEME_DIR} DIRECTORY)
file(MAKE_DIRECTORY ${sim_theme_parent})
file(CREATE_LINK ${CMAKE_SOURCE_DIR}/platform/toolkit/theme ${SIM_THEME_DIR} SYMBOLIC)
