# The preview conversion, page bytes and stripper on 10 KB to 10 MB posts.
quorvane_bench(bench_conversion conversion.cpp conversion_post.h)
target_include_directories(bench_conversion PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
