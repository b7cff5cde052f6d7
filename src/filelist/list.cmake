target_sources(pelkora_lib PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/hint_texts.h
    ${CMAKE_CURRENT_LIST_DIR}/file_list.h ${CMAKE_CURRENT_LIST_DIR}/file_list.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_list_view.h ${CMAKE_CURRENT_LIST_DIR}/file_list_view.cpp)
