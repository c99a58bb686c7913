# 100 dense time-card pages to PDF through the report engine, beside the same items drawn straight
# onto QPdfWriter.
horavant_add_bench(bench_reportengine SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_reportengine.cpp
  LIBS kronvik_report_engine)
