# 1:N fingerprint identification through the reader wrapper, the automation layer, the registered
# server and the simulated reader (templates per second). The server loads libTrivane.so by name;
# the executable's RPATH (old-style, which also serves libraries loaded later) points to it.
horavant_add_bench(bench_fingerprint SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_fingerprint.cpp
  LIBS kronvik_clock trivane_sim_core)
target_compile_definitions(bench_fingerprint PRIVATE
  HORAVANT_REGSVR="$<TARGET_FILE:horavant-regsvr>" TRIVANE_COM_LIBRARY="$<TARGET_FILE:TrivaneCOM>")
add_dependencies(bench_fingerprint TrivaneCOM trivane_sim horavant-regsvr)
set_target_properties(bench_fingerprint PROPERTIES BUILD_RPATH "$<TARGET_FILE_DIR:trivane_sim>")
target_link_options(bench_fingerprint PRIVATE -Wl,--disable-new-dtags)
