# Statement lookup with placeholder filling, as every caller of the statement holder does it.
horavant_add_bench(bench_statements SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_statements.cpp
  LIBS kronvik_foundation)
