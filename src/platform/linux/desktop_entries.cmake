target_sources(pw_platform PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/desktop_entries.h
    ${CMAKE_CURRENT_LIST_DIR}/desktop_entries.cpp
)
