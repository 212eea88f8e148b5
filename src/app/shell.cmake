target_sources(pw_app PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/desktop_main.h
    ${CMAKE_CURRENT_LIST_DIR}/desktop_main.cpp
)
