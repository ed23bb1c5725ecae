# A board's custom tags: 1,000 of them loaded, and a post rendered and checked with them.
quorvane_bench(bench_customtags customtags.cpp conversion_post.h)
target_include_directories(bench_customtags PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
