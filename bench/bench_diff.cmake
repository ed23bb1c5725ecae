quorvane_bench(bench_diff ${CMAKE_CURRENT_LIST_DIR}/diff.cpp)
