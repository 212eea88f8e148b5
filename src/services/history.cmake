# The store of past figures: a day at full rate and a month by the minute.
find_package(Qt6 REQUIRED COMPONENTS Sql)
# The row written every cycle goes straight through SQLite, on Qt's connection.
find_package(SQLite3 REQUIRED)
target_link_libraries(pw_services PUBLIC Qt6::Sql PRIVATE SQLite::SQLite3)
target_sources(pw_services PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/history/history_range.h
    ${CMAKE_CURRENT_LIST_DIR}/history/history_range.cpp
    ${CMAKE_CURRENT_LIST_DIR}/history/history_columns.h
    ${CMAKE_CURRENT_LIST_DIR}/history/history_columns.cpp
    ${CMAKE_CURRENT_LIST_DIR}/history/history_database.h
    ${CMAKE_CURRENT_LIST_DIR}/history/history_database.cpp
    ${CMAKE_CURRENT_LIST_DIR}/history/history_store_session.h
    ${CMAKE_CURRENT_LIST_DIR}/history/history_store_session.cpp
    ${CMAKE_CURRENT_LIST_DIR}/history/row_insert.h
    ${CMAKE_CURRENT_LIST_DIR}/history/row_insert.cpp
    ${CMAKE_CURRENT_LIST_DIR}/history/history_writer.h
    ${CMAKE_CURRENT_LIST_DIR}/history/history_writer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/history/history_recorder.h
    ${CMAKE_CURRENT_LIST_DIR}/history/history_recorder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/history/history_query.h
    ${CMAKE_CURRENT_LIST_DIR}/history/history_query.cpp
    ${CMAKE_CURRENT_LIST_DIR}/history/history_export.h
    ${CMAKE_CURRENT_LIST_DIR}/history/history_export.cpp
    ${CMAKE_CURRENT_LIST_DIR}/history/history_service.h
    ${CMAKE_CURRENT_LIST_DIR}/history/history_service.cpp
)
