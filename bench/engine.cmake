add_executable(runner_bench ${CMAKE_CURRENT_SOURCE_DIR}/engine/runner_bench.cpp)
target_link_libraries(runner_bench PRIVATE pelkora_gui)
set_target_properties(runner_bench PROPERTIES AUTOMOC ON)
