pelkora_add_test(file_list_test GUI SOURCES file_list_test.cpp LIBS pelkora_lib Qt6::Test
    TIMEOUT 60)
