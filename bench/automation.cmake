# Late-bound call overhead of the automation layer: a member looked up by name and invoked, as the
# reader wrapper calls every member, beside a cached dispatch id and the plain vtable call.
horavant_add_bench(bench_automation SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_automation.cpp
  LIBS horavant_automation)
target_include_directories(bench_automation PRIVATE ${CMAKE_SOURCE_DIR}/fingerprint_com)
target_compile_definitions(bench_automation PRIVATE TRIVANE_COM_LIBRARY="$<TARGET_FILE:TrivaneCOM>")
add_dependencies(bench_automation TrivaneCOM trivane_sim)
# The server loads libTrivane.so by name; an old-style RPATH also serves libraries loaded later.
set_target_properties(bench_automation PROPERTIES BUILD_RPATH "$<TARGET_FILE_DIR:trivane_sim>")
target_link_options(bench_automation PRIVATE -Wl,--disable-new-dtags)
