target_sources(pw_platform_linux PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/desktop_entries.h
    ${CMAKE_CURRENT_LIST_DIR}/desktop_entries.cpp
)
