target_sources(pw_platform PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/proc_parsers.h
    ${CMAKE_CURRENT_LIST_DIR}/proc_parsers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_reader.h
    ${CMAKE_CURRENT_LIST_DIR}/file_reader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/refused_files.h
    ${CMAKE_CURRENT_LIST_DIR}/refused_files.cpp
    ${CMAKE_CURRENT_LIST_DIR}/linux_system_counters.h
    ${CMAKE_CURRENT_LIST_DIR}/linux_system_counters.cpp
    ${CMAKE_CURRENT_LIST_DIR}/linux_device_counters.cpp
    ${CMAKE_CURRENT_LIST_DIR}/numbered_entries.h
    ${CMAKE_CURRENT_LIST_DIR}/device_parsers.h
    ${CMAKE_CURRENT_LIST_DIR}/device_parsers.cpp
)
