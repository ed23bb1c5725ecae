quorvane_bench(bench_editor ${CMAKE_CURRENT_LIST_DIR}/editor.cpp)
find_package(Qt6 REQUIRED COMPONENTS Test)
target_link_libraries(bench_editor PRIVATE Qt6::Test)
