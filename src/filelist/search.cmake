# Adding files through the open dialog and adding a folder's files.
target_sources(pelkora_core PRIVATE
    path_text.h path_text.cpp
    folder_search.h folder_search.cpp)

target_sources(pelkora_lib PRIVATE
    list_hooks.h
    add_file.h add_file.cpp
    add_folder.h add_folder.cpp)
