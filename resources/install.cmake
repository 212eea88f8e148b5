# What `cmake --install` puts on the system, and the Debian package made of it
# with CPack (`cpack -G DEB` in the build folder; see scripts/package.sh).
include(GNUInstallDirs)

set(PULSEWICK_APP_ID io.github.pulsewick.Pulsewick)
set(PULSEWICK_HOMEPAGE "https://github.com/pulsewick/pulsewick" CACHE STRING
    "Project home page, named in the package and the AppStream metadata")
set(PULSEWICK_MAINTAINER_EMAIL "pulsewick@users.noreply.github.com" CACHE STRING
    "Contact address of the package's maintainer")
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(desktop_dir ${CMAKE_CURRENT_LIST_DIR}/desktop)
set(generated ${CMAKE_BINARY_DIR}/resources)
configure_file(${desktop_dir}/${PULSEWICK_APP_ID}.metainfo.xml.in
    ${generated}/${PULSEWICK_APP_ID}.metainfo.xml @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/copyright ${generated}/copyright @ONLY)
# Debian wants these compressed, without a timestamp in the gzip header.
foreach(doc changelog pulsewick.1)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/${doc} ${generated}/${doc} @ONLY)
    add_custom_command(OUTPUT ${generated}/${doc}.gz
        COMMAND gzip -9nc ${generated}/${doc} > ${generated}/${doc}.gz
        DEPENDS ${generated}/${doc} VERBATIM)
endforeach()
add_custom_target(pulsewick_docs ALL DEPENDS ${generated}/changelog.gz ${generated}/pulsewick.1.gz)

install(TARGETS pulsewick RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${desktop_dir}/${PULSEWICK_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${generated}/${PULSEWICK_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/ui/logo.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME pulsewick.svg)
foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/pulsewick-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME pulsewick.png)
endforeach()
install(FILES ${generated}/copyright ${generated}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pulsewick)
install(FILES ${generated}/pulsewick.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pulsewick)
set(CPACK_PACKAGE_VENDOR "The Pulsewick developers")
set(CPACK_PACKAGE_CONTACT "The Pulsewick developers <${PULSEWICK_MAINTAINER_EMAIL}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "system monitor in the tray")
set(CPACK_PACKAGE_INSTALL_DIRECTORY /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PULSEWICK_HOMEPAGE})
# The synopsis is the summary above; this is the extended text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Pulsewick keeps a live readout of the CPU load, its recent history and the
chip temperature in the system tray (or in a small window where there is no
tray). A click opens a dashboard with CPU, network, disk and memory figures
and the busiest processes; a larger window holds sensor, power and fan pages
and the settings.")
# Libraries come from the binary itself; the platform plugins Qt loads at run
# time and the tools Pulsewick runs are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, iputils-ping, libglib2.0-bin, adwaita-icon-theme")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "gnome-shell-extension-appindicator")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
