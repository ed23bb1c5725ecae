# Find, Replace and the command-state refresh with a 10 MB post in the real window.
quorvane_bench(bench_search ${CMAKE_CURRENT_SOURCE_DIR}/search.cpp)
