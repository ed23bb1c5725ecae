# Spelling 60 KB and 10 MB posts: the prose words and the dictionary's answers.
quorvane_bench(bench_spelling ${CMAKE_CURRENT_LIST_DIR}/spelling.cpp)
