# Punches per second (check-in + check-out with day totals) through the punch engine and through the
# same statements on QSqlQuery, on SQLite and on the MariaDB test server when one is configured.
# The test support library makes the fresh server database.
if(TARGET horavant_test_support)
  horavant_add_bench(bench_punch SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_punch.cpp
    LIBS kronvik_clock horavant_test_support)
endif()
