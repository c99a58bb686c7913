# Stop latency of the continuous scan over the registered server and the simulated reader. The server
# loads libTrivane.so by name; the executable's RPATH (old-style, which also serves libraries loaded
# later) points to it.
horavant_add_bench(bench_scanthread SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_scanthread.cpp
  LIBS kronvik_clock trivane_sim_core)
target_compile_definitions(bench_scanthread PRIVATE TRIVANE_COM_LIBRARY="$<TARGET_FILE:TrivaneCOM>")
add_dependencies(bench_scanthread TrivaneCOM trivane_sim)
set_target_properties(bench_scanthread PROPERTIES BUILD_RPATH "$<TARGET_FILE_DIR:trivane_sim>")
target_link_options(bench_scanthread PRIVATE -Wl,--disable-new-dtags)
