# The window's behaviour (start-up, batch run, commands), kept apart from its looks.
target_sources(pelkora_lib PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/main_controller.h ${CMAKE_CURRENT_LIST_DIR}/main_controller.cpp)

# Help works offline: the tutorial ships in the program folder.
configure_file(${CMAKE_CURRENT_LIST_DIR}/help/tutorial.html
    ${PELKORA_PROGRAM_DIR}/help/tutorial.html COPYONLY)
