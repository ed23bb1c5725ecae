# The forums' renderer (phpBB, SMF, MyBB) on 60 KB to 10 MB posts.
quorvane_bench(bench_forum forum.cpp conversion_post.h)
target_include_directories(bench_forum PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
