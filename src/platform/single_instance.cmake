target_sources(pelkora_lib PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/single_instance.h
    ${CMAKE_CURRENT_LIST_DIR}/single_instance.cpp)
