# `cmake --install` and `cpack -G DEB`: what goes where, in five components
# that become five Debian packages:
#   host       the settings host, its class library, the toolkit and its theme
#   clients    the SIM client libraries, which the plug-in and the PIN query
#              service share
#   applet     the SIM applet plug-in and its catalogues
#   services   the mode-control daemon and the PIN query service, started by
#              D-Bus activation (directly or through systemd), with their
#              bus policies
#   simulator  the simulated modems (on the telephony service's D-Bus
#              interface, and an AT modem for the real telephony daemon) and
#              phonectl, the command line over the reference peers' control
#              interfaces
# Folders come from cmake/SimLayout.cmake. Installed programs and libraries
# find the project's libraries through $ORIGIN, so a tree installed under any
# prefix runs as it is.

# sim_shared_libraries(<var> <targets...>): the project's shared libraries
# that the targets load, directly or through other libraries.
function(sim_shared_libraries var)
    set(result)
    set(seen)
    set(queue ${ARGN})
    while(queue)
        list(POP_FRONT queue target)
        if(target MATCHES "^\\$<LINK_ONLY:(.+)>$")
            set(target ${CMAKE_MATCH_1})
        endif()
        if(NOT TARGET ${target} OR target IN_LIST seen)
            continue()
        endif()
        list(APPEND seen ${target})
        get_target_property(aliased ${target} ALIASED_TARGET)
        if(aliased)
            list(APPEND queue ${aliased})
            continue()
        endif()
        get_target_property(imported ${target} IMPORTED)
        if(imported)
            continue()
        endif()
        get_target_property(type ${target} TYPE)
        if(type STREQUAL "SHARED_LIBRARY")
            list(APPEND result ${target})
        endif()
        foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
            get_target_property(links ${target} ${property})
            if(links)
                list(APPEND queue ${links})
            endif()
        endforeach()
    endwhile()
    set(${var} ${result} PARENT_SCOPE)
endfunction()

# Every installed program and library finds the project's libraries through
# $ORIGIN.
function(sim_install_programs component destination)
    sim_relative_path(libdir ${destination} ${CMAKE_INSTALL_LIBDIR})
    if(libdir STREQUAL ".")
        set(rpath "$ORIGIN")
    else()
        set(rpath "$ORIGIN/${libdir}")
    endif()
    set_target_properties(${ARGN} PROPERTIES INSTALL_RPATH "${rpath}")
    get_target_property(type ${ARGV2} TYPE)
    if(type STREQUAL "EXECUTABLE")
        install(TARGETS ${ARGN} RUNTIME DESTINATION ${destination} COMPONENT ${component})
    else()
        install(TARGETS ${ARGN} LIBRARY DESTINATION ${destination} COMPONENT ${component})
    endif()
endfunction()

set(sim_service_programs mode-control-daemon pin-query-service)
set(sim_simulator_programs modem-sim at-modem-sim phonectl)
# The host's libraries go with the host; the SIM client libraries, which the
# plug-in and the services share, make a package of their own.
sim_shared_libraries(sim_host_libraries settings-host)
sim_shared_libraries(sim_client_libraries simapplet ${sim_service_programs} ${sim_simulator_programs})
list(REMOVE_ITEM sim_client_libraries ${sim_host_libraries})

sim_install_programs(host ${CMAKE_INSTALL_BINDIR} settings-host)
sim_install_programs(host ${CMAKE_INSTALL_LIBDIR} ${sim_host_libraries})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/platform/toolkit/theme/
    DESTINATION ${SIM_INSTALL_THEMEDIR} COMPONENT host)

if(sim_client_libraries)
    sim_install_programs(clients ${CMAKE_INSTALL_LIBDIR} ${sim_client_libraries})
endif()

sim_install_programs(applet ${SIM_INSTALL_APPLETDIR} simapplet)
install(DIRECTORY ${SIM_TRANSLATIONS_DIR}/ DESTINATION ${SIM_INSTALL_TRANSLATIONSDIR}
    COMPONENT applet FILES_MATCHING PATTERN "*.qm")

sim_install_programs(services ${CMAKE_INSTALL_LIBEXECDIR} ${sim_service_programs})
file(GLOB sim_policies ${SIM_DBUS_POLICY_DIR}/*.conf)
install(FILES ${sim_policies} DESTINATION ${SIM_INSTALL_DBUS_POLICYDIR} COMPONENT services)

# Activation files and systemd units name their program by its absolute path,
# known only when installing (`cmake --install --prefix` may change it), so
# they are made then, in a folder of their own for each prefix.
function(sim_install_with_prefix template destination component)
    get_filename_component(name ${template} NAME_WLE)
    install(CODE "
        set(libexecdir \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBEXECDIR}\")
        string(MD5 stage \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
        set(stage \"${CMAKE_BINARY_DIR}/install-stage/\${stage}\")
        configure_file(\"${template}\" \"\${stage}/${name}\" @ONLY)
        file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${destination}\" TYPE FILE
            FILES \"\${stage}/${name}\")"
        COMPONENT ${component})
endfunction()
file(GLOB sim_activation_files ${CMAKE_SOURCE_DIR}/dbus/system-services/*.service.in)
foreach(template ${sim_activation_files})
    sim_install_with_prefix(${template} ${SIM_INSTALL_DBUS_SERVICEDIR} services)
endforeach()
file(GLOB sim_units ${CMAKE_SOURCE_DIR}/services/systemd/*.service.in)
foreach(template ${sim_units})
    sim_install_with_prefix(${template} ${SIM_INSTALL_SYSTEMD_UNITDIR} services)
endforeach()

sim_install_programs(simulator ${CMAKE_INSTALL_BINDIR} ${sim_simulator_programs})

# Debian packages, one per component, installing under /usr. They pack what
# was built: building is a step of its own (the package test runs inside a
# finished build), so neither cpack nor `make install` builds everything
# again first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "SIM applet developers <sim-applet@example.org>")
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL host clients applet services simulator)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# Library dependencies come from dpkg-shlibdeps; the project's own libraries
# are found in the other packages' staging folders.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(sim_exact "(= ${PROJECT_VERSION})")

set(CPACK_DEBIAN_HOST_PACKAGE_NAME settings-host)
set(CPACK_COMPONENT_HOST_DESCRIPTION
    "Settings host\n The control-panel program that loads settings applets and shows their\n pages, with its class library and the touch UI toolkit and theme.")

set(CPACK_DEBIAN_CLIENTS_PACKAGE_NAME libsimclients)
set(CPACK_COMPONENT_CLIENTS_DESCRIPTION
    "SIM client libraries\n The cellular and SIM-lock client libraries, reading the SIM card's state\n from the telephony service on the D-Bus system bus.")

set(CPACK_DEBIAN_APPLET_PACKAGE_NAME settings-host-simapplet)
set(CPACK_DEBIAN_APPLET_PACKAGE_DEPENDS "settings-host ${sim_exact}, libsimclients ${sim_exact}")
# On a phone the platform provides the two services; elsewhere these do.
set(CPACK_DEBIAN_APPLET_PACKAGE_RECOMMENDS "sim-services")
set(CPACK_COMPONENT_APPLET_DESCRIPTION
    "SIM card page for the settings host\n The applet plug-in that shows the SIM card's state and offers the PIN\n request, change PIN, SIM-lock unlock and activation, with its catalogues.")

set(CPACK_DEBIAN_SERVICES_PACKAGE_NAME sim-services)
set(CPACK_DEBIAN_SERVICES_PACKAGE_DEPENDS
    "libsimclients ${sim_exact}, default-dbus-system-bus | dbus-system-bus")
set(CPACK_COMPONENT_SERVICES_DESCRIPTION
    "Mode-control daemon and PIN query UI service\n Reference D-Bus system services for the SIM card page, started on demand\n by D-Bus activation.")

set(CPACK_DEBIAN_SIMULATOR_PACKAGE_NAME sim-simulator)
set(CPACK_DEBIAN_SIMULATOR_PACKAGE_DEPENDS "sim-services ${sim_exact}")
set(CPACK_COMPONENT_SIMULATOR_DESCRIPTION
    "Phone simulator for the SIM card page\n A simulated modem on the telephony service's D-Bus interface, a simulated\n AT modem for the real telephony daemon, and phonectl, the command line that\n changes the simulated phone and the reference peers.")

include(CPack)
