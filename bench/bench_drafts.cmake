quorvane_bench(bench_drafts ${CMAKE_CURRENT_LIST_DIR}/drafts.cpp)
find_package(Qt6 REQUIRED COMPONENTS Test)
target_link_libraries(bench_drafts PRIVATE Qt6::Test)
