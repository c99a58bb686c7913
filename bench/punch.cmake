# Punches per second (check-in + check-out with day totals) through the punch engine and through the
# same statements on QSqlQuery, on SQLite and on the MariaDB test server when one is configured.
# The databases are made by the clock tests' fixture.
if(TARGET clock_test_support)
  horavant_add_bench(bench_punch SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_punch.cpp
    LIBS kronvik_clock clock_test_support)
endif()
