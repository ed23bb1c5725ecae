quorvane_bench(bench_livepreview ${CMAKE_CURRENT_LIST_DIR}/livepreview.cpp)
find_package(Qt6 REQUIRED COMPONENTS Test)
target_link_libraries(bench_livepreview PRIVATE Qt6::Test)
