target_sources(pw_app PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/desktop_main.h
    ${CMAKE_CURRENT_LIST_DIR}/desktop_main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/app_delegate.h
    ${CMAKE_CURRENT_LIST_DIR}/app_delegate.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tray_entry.h
    ${CMAKE_CURRENT_LIST_DIR}/tray_entry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tray_menu.h
    ${CMAKE_CURRENT_LIST_DIR}/tray_menu.cpp
    ${CMAKE_CURRENT_LIST_DIR}/floating_readout.h
    ${CMAKE_CURRENT_LIST_DIR}/floating_readout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/popup_window.h
    ${CMAKE_CURRENT_LIST_DIR}/popup_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window_placement.h
    ${CMAKE_CURRENT_LIST_DIR}/window_placement.cpp
    ${CMAKE_CURRENT_LIST_DIR}/single_instance.h
    ${CMAKE_CURRENT_LIST_DIR}/single_instance.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tray_host_watch.h
    ${CMAKE_CURRENT_LIST_DIR}/tray_host_watch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/status_notifier_item.h
    ${CMAKE_CURRENT_LIST_DIR}/status_notifier_item.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dbus_menu_exporter.h
    ${CMAKE_CURRENT_LIST_DIR}/dbus_menu_exporter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dbus_tray_types.h
    ${CMAKE_CURRENT_LIST_DIR}/dbus_tray_types.cpp
    ${CMAKE_CURRENT_LIST_DIR}/x11_hints.h
    ${CMAKE_CURRENT_LIST_DIR}/x11_hints.cpp
    ${CMAKE_CURRENT_LIST_DIR}/xembed_tray_selection.h
    ${CMAKE_CURRENT_LIST_DIR}/xembed_tray_selection.cpp
    ${CMAKE_CURRENT_LIST_DIR}/xembed_tray_icon.h
    ${CMAKE_CURRENT_LIST_DIR}/xembed_tray_icon.cpp
)
find_package(PkgConfig REQUIRED)
pkg_check_modules(XCB REQUIRED IMPORTED_TARGET xcb)
target_link_libraries(pw_app PUBLIC Qt6::Widgets Qt6::DBus PRIVATE PkgConfig::XCB)
