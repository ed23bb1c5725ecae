# Splitting a 1 MB post into parts of 10 000 characters.
quorvane_bench(bench_split ${CMAKE_CURRENT_LIST_DIR}/split.cpp ${CMAKE_CURRENT_LIST_DIR}/conversion_post.h)
target_include_directories(bench_split PRIVATE ${CMAKE_CURRENT_LIST_DIR})
