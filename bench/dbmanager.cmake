# TDBManager round trips on SQLite beside the same statements through the raw sqlite3 API.
horavant_add_bench(bench_dbmanager SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_dbmanager.cpp
  LIBS kronvik_foundation SQLite::SQLite3)
