find_package(Threads REQUIRED)
add_executable(batch_bench
    ${CMAKE_CURRENT_SOURCE_DIR}/batch/batch_bench.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/batch/tree_memory.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/batch/tree_memory.h)
target_link_libraries(batch_bench PRIVATE pelkora_gui Threads::Threads)
target_compile_definitions(batch_bench PRIVATE PELKORA_PROGRAM_DIR="${PELKORA_PROGRAM_DIR}")
# The windowless mode is measured from the program itself.
add_dependencies(batch_bench conv pelkora)
