target_sources(tillora_widgets PRIVATE themes.h themes.cpp)
