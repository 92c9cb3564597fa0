target_sources(tillora_logic PRIVATE ${CMAKE_CURRENT_LIST_DIR}/cashsale.h ${CMAKE_CURRENT_LIST_DIR}/cashsale.cpp)
target_sources(tillora_widgets PRIVATE ${CMAKE_CURRENT_LIST_DIR}/veresiye.h ${CMAKE_CURRENT_LIST_DIR}/veresiye.cpp)
