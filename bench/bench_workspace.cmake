# Resizing the window holding a 10 MB post.
quorvane_bench(bench_workspace workspace.cpp)
