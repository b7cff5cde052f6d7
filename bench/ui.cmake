# Main window figures: filling and emptying a long list, start-up to the first painted window.
add_executable(ui_bench ${CMAKE_CURRENT_LIST_DIR}/ui/ui_bench.cpp)
target_link_libraries(ui_bench PRIVATE pelkora_gui)
