target_sources(pw_services PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/system_colors.h
    ${CMAKE_CURRENT_LIST_DIR}/theme_manager.h
    ${CMAKE_CURRENT_LIST_DIR}/theme_manager.cpp
)
