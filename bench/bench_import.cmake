# Formatted text into BBCode: a clipboard's worth and a large saved page.
quorvane_bench(bench_import ${CMAKE_CURRENT_LIST_DIR}/import.cpp)
target_compile_definitions(bench_import PRIVATE
  QUORVANE_IMPORT_CORPUS_DIR="${PROJECT_SOURCE_DIR}/tests/data/import")
