# Reading and writing 10 MB documents in the file layer alone.
quorvane_bench(bench_documents documents.cpp)
