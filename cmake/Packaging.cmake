# The Debian package: `make deb` builds build/owlet_<version>_<arch>.deb with CPack.

# Man pages and the changelog go in compressed, as Debian policy wants them.
find_program(GZIP gzip REQUIRED)
set(OWLET_COMPRESSED)
foreach(page owlet owlet-cli owlet-module-sim)
    # The page carries the project's version in its header.
    set(source ${CMAKE_BINARY_DIR}/man/${page}.1)
    configure_file(${PROJECT_SOURCE_DIR}/data/man/${page}.1.in ${source} @ONLY)
    set(out ${source}.gz)
    add_custom_command(OUTPUT ${out}
        COMMAND ${GZIP} -9n -c ${source} > ${out}
        DEPENDS ${source})
    list(APPEND OWLET_COMPRESSED ${out})
    install(FILES ${out} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
# The last entry carries the project's version and release date.
configure_file(${PROJECT_SOURCE_DIR}/data/debian/changelog.in ${CMAKE_BINARY_DIR}/changelog @ONLY)
set(changelog ${CMAKE_BINARY_DIR}/changelog.gz) # a native package's name for it
add_custom_command(OUTPUT ${changelog}
    COMMAND ${GZIP} -9n -c ${CMAKE_BINARY_DIR}/changelog > ${changelog}
    DEPENDS ${CMAKE_BINARY_DIR}/changelog)
add_custom_target(owlet-docs ALL DEPENDS ${OWLET_COMPRESSED} ${changelog})
install(FILES ${changelog} ${PROJECT_SOURCE_DIR}/data/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
# udev reads its rules below /usr/lib; installed elsewhere the rule waits for a copy.
install(FILES ${PROJECT_SOURCE_DIR}/contrib/99-owlet-usb-serial.rules
        DESTINATION lib/udev/rules.d)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME owlet)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control panel for MC145170 VHF synthesizer modules")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "OWLET computes the MC145170 PLL chip's R, N and C registers from the
reference, comparison and output frequencies, shows them in hexadecimal,
warns with the frequency error when the output cannot be reached exactly,
and sends each value to the synthesizer module over a serial port.
.
The package holds the panel (owlet), a command-line companion for scripts
(owlet-cli), a module simulator on a pseudo-terminal (owlet-module-sim)
and a udev rule that gives USB-serial adapters to the group dialout.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The OWLET developers <owlet@quartzel.net>")
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON) # Depends from the binaries' libraries
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
if(OWLET_DEBIAN_ARCH) # a cross build (cmake/DebianCross.cmake), not this machine's
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${OWLET_DEBIAN_ARCH})
endif()
include(CPack)
