# Tests of the add-file and add-folder commands and of the folder search.
pelkora_add_test(filelist_search_core_test
    SOURCES path_text_test.cpp folder_search_test.cpp temp_tree.h
    LIBS pelkora_core Qt6::Core)

pelkora_add_test(filelist_add_commands_test
    SOURCES add_commands_test.cpp temp_tree.h
    LIBS pelkora_lib
    GUI)
