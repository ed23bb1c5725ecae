# Checking the mark-up of 60 KB and 10 MB posts, and each forum's warnings on them.
quorvane_bench(bench_markup ${CMAKE_CURRENT_LIST_DIR}/markup.cpp ${CMAKE_CURRENT_LIST_DIR}/conversion_post.h)
target_include_directories(bench_markup PRIVATE ${CMAKE_CURRENT_LIST_DIR})
