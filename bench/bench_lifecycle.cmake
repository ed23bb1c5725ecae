# Opening and saving 10 MB documents through the real editor.
quorvane_bench(bench_lifecycle lifecycle.cpp)
