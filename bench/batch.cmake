add_executable(batch_bench ${CMAKE_CURRENT_SOURCE_DIR}/batch/batch_bench.cpp)
target_link_libraries(batch_bench PRIVATE pelkora_gui)
target_compile_definitions(batch_bench PRIVATE PELKORA_PROGRAM_DIR="${PELKORA_PROGRAM_DIR}")
add_dependencies(batch_bench conv)
