# A spreadsheet's selected lines made into a forum's table.
quorvane_bench(bench_forummarkup forummarkup.cpp)
