# Debian packages from the install rules above, one per component:
#   programs    -> veltaro          the desktop program (Qt), its menu entry and metadata
#   cli         -> veltaro-cli      veltaro-cli and veltaro-modem-sim, without Qt, for
#                                   gateways and other machines without a desktop
#   library     -> libbrenlow1      the shared library
#   development -> libbrenlow-dev   headers, libbrenlow.so, CMake package, brenlow.pc
# Build them from a build configured for /usr (the package preset): cpack -G DEB.

set(debian_dir ${CMAKE_CURRENT_SOURCE_DIR}/debian)
file(STRINGS ${debian_dir}/changelog changelog_top LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^veltaro \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/debian/changelog needs an entry for ${PROJECT_VERSION}")
endif()

# Every package carries the copyright file and the changelog (compressed, as Debian wants).
set(changelog_gz ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${changelog_gz}
    COMMAND gzip -9n -c ${debian_dir}/changelog > ${changelog_gz}
    DEPENDS ${debian_dir}/changelog COMMENT "Compressing the Debian changelog")
add_custom_target(veltaro_changelog ALL DEPENDS ${changelog_gz})

set(deb_packages
    programs veltaro comm
    cli veltaro-cli comm
    library libbrenlow1 libs
    development libbrenlow-dev libdevel)
while(deb_packages)
    list(POP_FRONT deb_packages component package section)
    string(TOUPPER ${component} COMPONENT)
    install(FILES ${debian_dir}/copyright ${changelog_gz}
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component})
    set(CPACK_DEBIAN_${COMPONENT}_PACKAGE_NAME ${package})
    set(CPACK_DEBIAN_${COMPONENT}_PACKAGE_SECTION ${section})
endwhile()

set(CPACK_PACKAGE_NAME veltaro)
set(CPACK_PACKAGE_VENDOR "The Veltaro project")
# No mailbox exists yet: .invalid says so rather than guess one.
set(CPACK_PACKAGE_CONTACT "The Veltaro project <packaging@veltaro.invalid>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL programs cli library development)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE veltaro)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libbrenlow.so.1 comes from our own libbrenlow1 (a component dependency below), which
# dpkg-shlibdeps cannot know yet: show it the library of the build tree.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_LIBRARY_PACKAGE_CONTROL_EXTRA ${debian_dir}/triggers)

# The program's manual page sends its reader to veltaro-cli(1), and its AppStream metadata
# names the terminal programs: they come with it. veltaro-cli needs no Qt.
set(CPACK_COMPONENT_PROGRAMS_DEPENDS library cli)
set(CPACK_COMPONENT_CLI_DEPENDS library)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS library)
# The dialog's Korean texts need a Hangul face.
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_DEPENDS "fonts-nanum")

set(CPACK_COMPONENT_PROGRAMS_DESCRIPTION "configuration tool for wireless serial modems
Veltaro configures a family of wireless serial modems over a serial port:
it detects the model, reads the current settings into a form, and writes
new channel, power, mode, destination ID, period and UART settings through
the modem's text console.

This package holds the desktop program (Qt). The terminal programs are in
veltaro-cli.")
set(CPACK_COMPONENT_CLI_DESCRIPTION "configure wireless serial modems from a terminal
Veltaro configures a family of wireless serial modems over a serial port:
it detects the model, reads the current settings, and writes new channel,
power, mode, destination ID, period and UART settings through the modem's
text console.

This package holds veltaro-cli, which does that from a terminal or over
SSH, for one modem or many at once, with profiles and JSON output, and
veltaro-modem-sim, a simulated modem on a pseudo-terminal for trying it
without hardware. It needs no graphical toolkit.")
set(CPACK_COMPONENT_LIBRARY_DESCRIPTION "serial link library of Veltaro
Brenlow opens serial ports by their Windows names (COM1, COM12) or by
path, and runs a watcher thread that moves received bytes into a lock-free
queue and notifies its owner.

This package holds the shared library.")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "serial link library of Veltaro - development files
Brenlow opens serial ports by their Windows names (COM1, COM12) or by
path, and runs a watcher thread that moves received bytes into a lock-free
queue and notifies its owner.

This package holds the headers, the CMake package (Brenlow::brenlow) and
the pkg-config file.")

include(CPack)
